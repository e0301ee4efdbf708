#pragma once
// `OPNDBFDLG`: the open-file dialog with a filter list, option flags (the platform's OFN_* bits,
// of which multiple selection is the one that changes the behaviour here), an initial folder,
// a title and the list of chosen full paths. Built over Qt's file dialog.

#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

namespace derode::gui {

class OPNDBFDLG {
public:
    static constexpr quint32 OFN_HIDEREADONLY = 0x4;
    static constexpr quint32 OFN_ALLOWMULTISELECT = 0x200;
    static constexpr quint32 OFN_NONETWORKBUTTON = 0x20000;
    static constexpr quint32 OFN_EXPLORER = 0x80000;
    static constexpr quint32 OFN_ENABLESIZING = 0x800000;
    static constexpr quint32 DEFAULT_FLAGS = 0x880204;

    OPNDBFDLG(QWidget* owner, int extensionKind = 0);

    // Patterns and their descriptions, pair by pair; lists of different lengths leave no filter.
    void SETFILTER(const QStringList& patterns, const QStringList& descriptions, int index = 1);
    void SETFILTER(const QString& pattern, const QString& description, int index = 1);
    void SETSTYLE(quint32 flag, bool on);
    void setINITIALDIRECTORY(const QString& folder) { initialFolder_ = folder; }
    void setTitle(const QString& title) { title_ = title; }

    // True when the user confirmed a choice.
    bool SHOW();
    // The chosen full paths (only the first without multiple selection); empty when nothing was chosen.
    QStringList FILENAME() const;

    int extensionKind() const { return extensionKind_; }
    quint32 flags() const { return flags_; }
    QStringList nameFilters() const;  // "description (pattern)" as the dialog lists them
    int filterIndex() const { return filterIndex_; }
    QString initialDirectory() const { return initialFolder_; }
    QString title() const { return title_; }

    // Tests replace the modal run: the runner gets the prepared dialog and returns the chosen
    // paths (empty for a cancel). Without one the dialog is shown modally.
    using Runner = std::function<QStringList(QFileDialog&)>;
    static void setRunner(Runner runner);

private:
    QWidget* owner_;
    int extensionKind_;
    quint32 flags_ = DEFAULT_FLAGS;
    QStringList patterns_;
    QStringList descriptions_;
    int filterIndex_ = 1;
    QString initialFolder_;
    QString title_ = QStringLiteral("Open...");
    QStringList result_;
};

}  // namespace derode::gui
