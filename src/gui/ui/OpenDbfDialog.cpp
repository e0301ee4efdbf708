#include "gui/ui/OpenDbfDialog.h"

#include <QDir>
#include <QFileDialog>

namespace derode::gui {

namespace {
OPNDBFDLG::Runner& runnerSlot()
{
    static OPNDBFDLG::Runner runner;
    return runner;
}
}  // namespace

void OPNDBFDLG::setRunner(Runner runner) { runnerSlot() = std::move(runner); }

OPNDBFDLG::OPNDBFDLG(QWidget* owner, int extensionKind)
    : owner_(owner), extensionKind_(extensionKind), initialFolder_(QDir::currentPath())
{
}

void OPNDBFDLG::SETFILTER(const QStringList& patterns, const QStringList& descriptions, int index)
{
    patterns_.clear();
    descriptions_.clear();
    if (patterns.size() == descriptions.size()) {
        patterns_ = patterns;
        descriptions_ = descriptions;
    }
    filterIndex_ = index;
}

void OPNDBFDLG::SETFILTER(const QString& pattern, const QString& description, int index)
{
    SETFILTER(QStringList{pattern}, QStringList{description}, index);
}

void OPNDBFDLG::SETSTYLE(quint32 flag, bool on)
{
    if (on)
        flags_ |= flag;
    else
        flags_ &= ~flag;
}

QStringList OPNDBFDLG::nameFilters() const
{
    QStringList filters;
    for (int i = 0; i < patterns_.size(); ++i)
        filters << descriptions_[i] + QStringLiteral(" (") + patterns_[i] + QStringLiteral(")");
    return filters;
}

bool OPNDBFDLG::SHOW()
{
    result_.clear();
    QFileDialog dialog(owner_, title_, initialFolder_);
    dialog.setObjectName(QStringLiteral("OPNDBFDLG"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const bool multiple = flags_ & OFN_ALLOWMULTISELECT;
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    QFileDialog::Options options;
    if (flags_ & OFN_HIDEREADONLY)
        options |= QFileDialog::ReadOnly;  // no read-only check box offered; files are only read
    dialog.setOptions(options);
    const QStringList filters = nameFilters();
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (filterIndex_ >= 1 && filterIndex_ <= filters.size())
            dialog.selectNameFilter(filters[filterIndex_ - 1]);
    }
    QStringList chosen;
    if (runnerSlot())
        chosen = runnerSlot()(dialog);
    else if (dialog.exec() == QDialog::Accepted)
        chosen = dialog.selectedFiles();
    for (const QString& path : chosen)
        result_ << QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!multiple && result_.size() > 1)
        result_ = result_.mid(0, 1);
    return !result_.isEmpty();
}

QStringList OPNDBFDLG::FILENAME() const { return result_; }

}  // namespace derode::gui
