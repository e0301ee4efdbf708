// The self-painted button: Enter clicks on release, the pressed offset, the engraved caption and
// the checkerboard over a disabled button.
#include "gui/ui/TextImageButton.h"
#include "guisupport/GuiTestSupport.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using derode::gui::CTEXTIMAGEBUTTON;

namespace {

// A 16 x 16 image of four opaque colours, so that its position can be told exactly.
QPixmap quarters()
{
    QPixmap pixmap(16, 16);
    QPainter p(&pixmap);
    p.fillRect(0, 0, 8, 8, Qt::red);
    p.fillRect(8, 0, 8, 8, Qt::green);
    p.fillRect(0, 8, 8, 8, Qt::blue);
    p.fillRect(8, 8, 8, 8, Qt::yellow);
    return pixmap;
}

QImage render(CTEXTIMAGEBUTTON& button) { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The top-left corner of the quarters image in a rendering, or (-1, -1).
QPoint findImage(const QImage& image)
{
    for (int y = 0; y + 15 < image.height(); ++y)
        for (int x = 0; x + 15 < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 0, 0) && image.pixel(x + 15, y + 15) == qRgb(255, 255, 0)
                && image.pixel(x + 8, y) == qRgb(0, 255, 0) && (x == 0 || image.pixel(x - 1, y) != qRgb(255, 0, 0))
                && (y == 0 || image.pixel(x, y - 1) != qRgb(255, 0, 0)))
                return {x, y};
    return {-1, -1};
}

int countColour(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

}  // namespace

class TextImageButtonTest : public QObject {
    Q_OBJECT

private slots:
    void enterClicksOnceOnRelease()
    {
        QWidget owner;
        auto* button = new CTEXTIMAGEBUTTON(QStringLiteral(" Fermer"), quarters(), &owner);
        owner.show();
        button->setFocus();
        QSignalSpy clicks(button, &QPushButton::clicked);
        QTest::keyPress(button, Qt::Key_Return);
        QVERIFY(button->isDown());
        QCOMPARE(clicks.count(), 0);
        QTest::keyRelease(button, Qt::Key_Return);
        QVERIFY(!button->isDown());
        QCOMPARE(clicks.count(), 1);
        QTest::keyClick(button, Qt::Key_A);
        QCOMPARE(clicks.count(), 1);
    }

    void imageAtTheLeftShiftedWhenPressed()
    {
        CTEXTIMAGEBUTTON button(QStringLiteral(" Faire/Refaire un tirage"), quarters());
        button.resize(220, 40);
        const QPoint normal = findImage(render(button));
        QVERIFY(normal.x() >= 0);
        QVERIFY(normal.x() <= 4);                          // at the face's left edge
        QVERIFY(qAbs(normal.y() + 8 - 20) <= 1);           // centred vertically
        button.setDown(true);
        QCOMPARE(findImage(render(button)), normal + QPoint(1, 1));
    }

    void engravedCaption()
    {
        CTEXTIMAGEBUTTON button(QStringLiteral("MMMM"), QPixmap());
        QFont font(QStringLiteral("Arial"), 20, QFont::Black);
        button.setFont(font);
        button.setBackground(Qt::black);
        button.setTextColor(Qt::red);
        button.resize(160, 50);
        const QImage flat = render(button);
        QVERIFY(countColour(flat, qRgb(255, 0, 0)) > 0);
        QCOMPARE(countColour(flat, qRgb(0x80, 0x80, 0x80)), 0);
        button.setDISPLAY3DTEXT(true);
        const QImage engraved = render(button);
        QVERIFY(countColour(engraved, qRgb(0x80, 0x80, 0x80)) > 0);
        QVERIFY(countColour(engraved, qRgb(255, 255, 255)) > 0);
    }

    void disabledButtonIsCheckered()
    {
        CTEXTIMAGEBUTTON button(QStringLiteral(" Vérifier/Imprimer ce tirage"), quarters());
        button.setBackground(QColor(10, 200, 30));
        button.resize(240, 40);
        button.setEnabled(false);
        const QImage image = render(button);
        const QRgb face = qRgb(10, 200, 30);
        // Every pixel where x + y is even carries the face colour, over the image too.
        for (int y = 0; y < image.height(); ++y)
            for (int x = y % 2; x < image.width(); x += 2)
                QCOMPARE(image.pixel(x, y), face);
        // The image still shows through between them.
        button.setEnabled(true);
        const QPoint at = findImage(render(button));
        QVERIFY(at.x() >= 0);
        const int x = at.x() + ((at.x() + at.y()) % 2 == 0 ? 1 : 0);
        QCOMPARE(image.pixel(x, at.y()), qRgb(255, 0, 0));
    }
};

QTEST_MAIN(TextImageButtonTest)
#include "TextImageButtonTest.moc"
