// The program's drawn pictures: the toolbar strip and the message box icons.
#include "gui/core/Resources.h"
#include "guisupport/GuiTestSupport.h"

#include <QImage>
#include <QSet>
#include <QtTest>

using namespace derode;

class ResourcesTest : public QObject {
    Q_OBJECT
private slots:
    void stripHoldsFifteenDistinctDrawnImages()
    {
        QImage strip = gui::resourcePixmap(QStringLiteral("RIBBON_DEZOVUZI_BMP")).toImage();
        QCOMPARE(strip.size(), QSize(480, 32));
        QSet<size_t> seen;
        for (int i = 0; i < gui::RIBBON_IMAGE_COUNT; ++i) {
            QImage image = gui::ribbonImage(i).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), QSize(32, 32));
            int drawn = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    drawn += qAlpha(image.pixel(x, y)) > 0;
            QVERIFY2(drawn > 100, qPrintable(QStringLiteral("image %1 is nearly empty").arg(i)));
            seen.insert(qHashBits(image.constBits(), size_t(image.sizeInBytes())));
        }
        QCOMPARE(seen.size(), qsizetype(gui::RIBBON_IMAGE_COUNT));
    }

    void messageIconsAreABlueAndARedDisc()
    {
        QImage information = gui::resourcePixmap(QStringLiteral("INFORMATION")).toImage();
        QImage question = gui::resourcePixmap(QStringLiteral("QUESTIONMARK")).toImage();
        QCOMPARE(information.size(), QSize(32, 30));
        QCOMPARE(question.size(), QSize(32, 29));
        // A point of the disc beside the glyph.
        QColor blue = information.pixelColor(8, 15);
        QColor red = question.pixelColor(8, 14);
        QVERIFY(blue.blue() > blue.red() + 60);
        QVERIFY(red.red() > red.blue() + 60);
        QVERIFY(!gui::resourcePixmap(QStringLiteral("AAA_DEZOVUZI")).isNull());
    }
};

QTEST_MAIN(ResourcesTest)
#include "ResourcesTest.moc"
