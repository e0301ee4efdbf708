#pragma once
// The run-wide progress of file operations. An operation that was given no progress of its own
// asks the installed presenter for one when it starts and drops it when it ends; the Qt layer
// installs a presenter that shows a progress dialog whose cancel stops the operation. Without a
// presenter (headless runs) operations report no progress.

#include <cstddef>
#include <functional>
#include <string>

namespace derode::core {

// Called before each item with the item's path, the number of items done and the total, and once
// more at the end with an empty item. Returning false stops the operation: the items left are not
// touched.
using OperationProgress = std::function<bool(const std::string& item, std::size_t done, std::size_t total)>;

class OperationProgressPresenter {
public:
    virtual ~OperationProgressPresenter() = default;
    // One operation starts under `caption`; the callback it returns lives until the operation ends.
    virtual OperationProgress start(const std::string& caption) = 0;
};

// Installs the presenter for the run (not owned); nullptr removes it.
void setOperationProgressPresenter(OperationProgressPresenter* presenter);
OperationProgressPresenter* operationProgressPresenter();

}  // namespace derode::core
