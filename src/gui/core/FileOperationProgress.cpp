#include "gui/core/FileOperationProgress.h"

#include <QApplication>
#include <QProgressDialog>

#include <memory>

namespace derode::gui {

FileOperationProgress::FileOperationProgress(QWidget* owner, const QString& caption)
    : owner_(owner)
    , caption_(caption)
{
}

FileOperationProgress::~FileOperationProgress()
{
    delete dialog_;
}

QProgressDialog* FileOperationProgress::dialog() const { return dialog_; }

void FileOperationProgress::attachTo(core::SHELLFILEOPERATION& operation)
{
    operation.setProgress(
        [this](const std::string& item, std::size_t done, std::size_t total) { return step(item, done, total); });
}

bool FileOperationProgress::step(const std::string& item, std::size_t done, std::size_t total)
{
    if (!dialog_) {
        dialog_ = new QProgressDialog(owner_);
        dialog_->setObjectName(QStringLiteral("fileOperationProgress"));
        dialog_->setWindowTitle(caption_);
        dialog_->setCancelButtonText(QStringLiteral("Annuler"));
        dialog_->setWindowModality(Qt::WindowModal);
        // Quick operations finish before the dialog would show.
        dialog_->setMinimumDuration(500);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
    }
    if (dialog_->wasCanceled())
        return false;
    dialog_->setMaximum(int(std::max<std::size_t>(total, 1)));
    dialog_->setLabelText(QString::fromStdString(item));
    dialog_->setValue(int(done));
    // Lets the dialog paint and its button be clicked between two items.
    QApplication::processEvents();
    return !dialog_->wasCanceled();
}

core::OperationProgress FileOperationProgressPresenter::start(const std::string& caption)
{
    auto progress = std::make_shared<FileOperationProgress>(QApplication::activeWindow(), QString::fromStdString(caption));
    return [progress](const std::string& item, std::size_t done, std::size_t total) {
        return progress->step(item, done, total);
    };
}

} // namespace derode::gui
