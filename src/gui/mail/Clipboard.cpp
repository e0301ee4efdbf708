#include "gui/mail/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace derode::gui {

bool CLIPBOARD::INSERT(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return clipboard->text() == text;
}

}  // namespace derode::gui
