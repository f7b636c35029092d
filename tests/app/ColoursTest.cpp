// The program's colour numbers on screen.
#include <QtTest>

#include "app/Colours.h"

using namespace tunx;
using tunx::app::toQColor;

class ColoursTest : public QObject {
    Q_OBJECT

  private slots:
    void literalColoursAreBlueGreenRed_data() {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("red") << qint64(colour::kRed) << QColor(255, 0, 0);
        QTest::newRow("green") << qint64(colour::kGreen) << QColor(0, 255, 0);
        QTest::newRow("light grey") << qint64(colour::kLightGrey) << QColor(192, 192, 192);
        QTest::newRow("white") << qint64(colour::kWhite) << QColor(255, 255, 255);
        QTest::newRow("blue byte highest") << qint64(0x00FF8040) << QColor(0x40, 0x80, 0xFF);
        QTest::newRow("bits above 24 ignored") << qint64(0x7F0000FF) << QColor(255, 0, 0);
    }
    void literalColoursAreBlueGreenRed() {
        QFETCH(qint64, number);
        QFETCH(QColor, expected);
        QCOMPARE(toQColor(number, palette()), expected);
    }

    void systemColoursComeFromThePalette_data() {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QColor>("expected");
        const QPalette p = palette();
        QTest::newRow("button face")
            << qint64(colour::kButtonFace) << p.color(QPalette::Active, QPalette::Button);
        QTest::newRow("active border")
            << qint64(colour::kActiveBorder) << p.color(QPalette::Active, QPalette::Window);
        QTest::newRow("button text")
            << qint64(colour::kWindowText) << p.color(QPalette::Active, QPalette::ButtonText);
        QTest::newRow("window background")
            << qint64(colour::kSystemFlag | 0x05) << p.color(QPalette::Active, QPalette::Base);
        QTest::newRow("grey text")
            << qint64(colour::kSystemFlag | 0x11) << p.color(QPalette::Disabled, QPalette::Text);
        QTest::newRow("unknown index")
            << qint64(colour::kSystemFlag | 0x7E) << p.color(QPalette::Active, QPalette::Window);
    }
    void systemColoursComeFromThePalette() {
        QFETCH(qint64, number);
        QFETCH(QColor, expected);
        QCOMPARE(toQColor(number, palette()), expected);
    }

  private:
    // A palette whose roles all differ, so that a wrong role shows.
    static QPalette palette() {
        QPalette p;
        int shade = 10;
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            for (auto group : {QPalette::Active, QPalette::Disabled, QPalette::Inactive}) {
                p.setColor(group, static_cast<QPalette::ColorRole>(role),
                           QColor(shade % 256, (shade * 7) % 256, (shade * 13) % 256));
                ++shade;
            }
        }
        return p;
    }
};

QTEST_MAIN(ColoursTest)
#include "ColoursTest.moc"
