#pragma once
// The progress of a shell file operation as a progress dialog: the operation reports each item
// through the callback, the dialog shows it (only when the operation lasts), and its "Annuler"
// button makes the callback stop the operation, which then reports ABORTED. The run installs its
// presenter so that every operation shows one.

#include "core/OperationProgress.h"
#include "core/ShellFileOperation.h"

#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace derode::gui {

class FileOperationProgress {
public:
    FileOperationProgress(QWidget* owner, const QString& caption);
    ~FileOperationProgress();
    FileOperationProgress(const FileOperationProgress&) = delete;
    FileOperationProgress& operator=(const FileOperationProgress&) = delete;

    // Installs this progress on an operation (valid while this object lives).
    void attachTo(core::SHELLFILEOPERATION& operation);
    // One item: false once the user cancelled.
    bool step(const std::string& item, std::size_t done, std::size_t total);

    QProgressDialog* dialog() const;

private:
    QWidget* owner_;
    QString caption_;
    QPointer<QProgressDialog> dialog_;
};

// The run's presenter: each operation without a progress of its own gets a dialog of its own,
// owned by the active window and gone when the operation ends.
class FileOperationProgressPresenter : public core::OperationProgressPresenter {
public:
    core::OperationProgress start(const std::string& caption) override;
};

} // namespace derode::gui
