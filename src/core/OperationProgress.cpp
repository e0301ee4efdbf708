#include "core/OperationProgress.h"

namespace derode::core {

namespace {
OperationProgressPresenter*& presenterSlot()
{
    static OperationProgressPresenter* presenter = nullptr;
    return presenter;
}
}  // namespace

void setOperationProgressPresenter(OperationProgressPresenter* presenter) { presenterSlot() = presenter; }

OperationProgressPresenter* operationProgressPresenter() { return presenterSlot(); }

}  // namespace derode::core
