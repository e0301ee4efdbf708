#include "guisupport/GuiTestSupport.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace derode::test {

void ModalDriver::onNextModal(std::function<void(QDialog*)> action)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* poll = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto acted = std::make_shared<QPointer<QDialog>>();
    auto done = std::make_shared<bool>(false);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [=, this] {
        if (!*done) {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog && dialog != before && dialog->isVisible()) {
                *done = true;
                *acted = dialog;
                clock->restart();
                action(dialog);
            } else if (clock->elapsed() > 5000) {
                missed_ = true;
                poll->deleteLater();
            }
            return;
        }
        // Still open long after the action: give up on it rather than block the suite.
        if (!*acted || !(*acted)->isVisible()) {
            poll->deleteLater();
        } else if (clock->elapsed() > 5000) {
            missed_ = true;
            (*acted)->reject();
            poll->deleteLater();
        }
    });
    poll->start();
}

void onNextModal(std::function<void(QDialog*)> action)
{
    static ModalDriver driver;
    driver.onNextModal(std::move(action));
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace derode::test
