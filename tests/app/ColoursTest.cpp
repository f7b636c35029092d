// The program's colour numbers on screen: literal colours and system colours from the palette.
#include <QtTest>

#include "app/Colours.h"

using namespace tunx;

class ColoursTest : public QObject {
    Q_OBJECT

  private slots:
    void coloursMapToTheScreen_data() {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QColor>("expected");
        const QPalette p = palette();
        QTest::newRow("red") << qint64(colour::kRed) << QColor(255, 0, 0);
        QTest::newRow("blue byte highest") << qint64(0x00FF8040) << QColor(0x40, 0x80, 0xFF);
        QTest::newRow("bits above 24 ignored") << qint64(0x7F0000FF) << QColor(255, 0, 0);
        QTest::newRow("button face")
            << qint64(colour::kButtonFace) << p.color(QPalette::Active, QPalette::Button);
        QTest::newRow("grey text")
            << qint64(colour::kSystemFlag | 0x11) << p.color(QPalette::Disabled, QPalette::Text);
        QTest::newRow("unknown index")
            << qint64(colour::kSystemFlag | 0x7E) << p.color(QPalette::Active, QPalette::Window);
    }
    void coloursMapToTheScreen() {
        QFETCH(qint64, number);
        QFETCH(QColor, expected);
        QCOMPARE(app::toQColor(number, palette()), expected);
    }

  private:
    // A palette whose roles all differ, so that a wrong role shows.
    static QPalette palette() {
        QPalette p;
        for (int i = 0; i < QPalette::NColorRoles * 3; ++i) {
            p.setColor(QPalette::ColorGroup(i % 3), QPalette::ColorRole(i / 3),
                       QColor(i, 255 - i, (i * 7) % 256));
        }
        return p;
    }
};

QTEST_MAIN(ColoursTest)
#include "ColoursTest.moc"
