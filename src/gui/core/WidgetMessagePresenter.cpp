#include "gui/core/WidgetMessagePresenter.h"

#include "gui/core/InfoBox.h"

#include <QApplication>
#include <QMessageBox>

namespace derode::gui {

QWidget* WidgetMessagePresenter::currentOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

int WidgetMessagePresenter::present(const core::Message& message)
{
    QWidget* owner = currentOwner();
    QString text = QString::fromStdString(message.text);
    QString caption = QString::fromStdString(message.caption);
    using core::MessageKind;
    switch (message.kind) {
    case MessageKind::Information:
    case MessageKind::Error:
    case MessageKind::Question: {
        CINFOBOXEX box(owner, text);
        box.setERRORWIN(message.kind == MessageKind::Error);
        box.setYESNOWIN(message.kind == MessageKind::Question);
        box.setFONTASSIGN(message.smallFont ? 1 : 0);
        if (!caption.isEmpty())
            box.setWindowTitle(caption);
        return box.exec() == 1 ? 1 : 0;
    }
    case MessageKind::PlainError:
    case MessageKind::PlainInformation:
    case MessageKind::PlainWarning: {
        QMessageBox::Icon icon = message.kind == MessageKind::PlainError ? QMessageBox::Critical
            : message.kind == MessageKind::PlainWarning                  ? QMessageBox::Warning
                                                                         : QMessageBox::Information;
        if (caption.isEmpty())
            caption = message.kind == MessageKind::PlainError ? QStringLiteral("ERREUR")
                : message.kind == MessageKind::PlainWarning   ? QStringLiteral("ATTENTION")
                                                              : QStringLiteral("INFO");
        QMessageBox box(icon, caption, displayText(text), QMessageBox::Ok, owner);
        box.setTextFormat(Qt::PlainText);
        box.setEscapeButton(QMessageBox::Ok);
        box.exec();
        return 1;
    }
    }
    return 0;
}

}  // namespace derode::gui
