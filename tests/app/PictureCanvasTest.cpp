// The Qt picture on the offscreen platform: lines go into a persistent image, without
// antialiasing, at the screen's pixel density.
#include <QSet>
#include <QtTest>

#include "app/PictureCanvas.h"

using namespace tunx;
using namespace tunx::app;

namespace {

const QRgb kBack = QColor(128, 128, 128).rgb();
const QRgb kRed = QColor(255, 0, 0).rgb();

// The distinct colours of an image.
QSet<QRgb> coloursOf(const QImage& image) {
    QSet<QRgb> out;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            out.insert(image.pixel(x, y));
        }
    }
    return out;
}

// How many pixels of column x have colour c.
int countInColumn(const QImage& image, int x, QRgb c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        n += image.pixel(x, y) == c ? 1 : 0;
    }
    return n;
}

}  // namespace

class PictureCanvasTest : public QObject {
    Q_OBJECT

  private slots:
    void aBlankPictureIsItsBackgroundAtThePixelDensity_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("1x") << 1.0 << QSize(704, 576);
        QTest::newRow("1.5x") << 1.5 << QSize(1056, 864);
        QTest::newRow("2x") << 2.0 << QSize(1408, 1152);
    }
    void aBlankPictureIsItsBackgroundAtThePixelDensity() {
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        PictureCanvas canvas(ratio);
        QCOMPARE(canvas.image().size(), pixels);
        QCOMPARE(coloursOf(canvas.image()), QSet<QRgb>{kBack});
        QCOMPARE(canvas.BackColor(), kPictureBackground);
        QCOMPARE(canvas.unitImage().size(), QSize(704, 576));
    }

    // A line of width w covers w drawing units across, w x ratio pixels, in its own colour
    // only: no blended pixels at its edges.
    void linesAreDrawnWithoutAntialiasingAtTheirWidth_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("width");
        QTest::newRow("2 units at 1x") << 1.0 << 2;
        QTest::newRow("2 units at 2x") << 2.0 << 2;
        QTest::newRow("1 unit at 2x") << 2.0 << 1;
    }
    void linesAreDrawnWithoutAntialiasingAtTheirWidth() {
        QFETCH(qreal, ratio);
        QFETCH(int, width);
        PictureCanvas canvas(ratio);
        canvas.Line(10, 100, 600, 100, colour::kRed, width, LineStyle::Solid);
        canvas.Line(10, 10, 500, 400, colour::kRed, width, LineStyle::Solid);  // a slant
        const QImage& image = canvas.image();
        QCOMPARE(coloursOf(image), (QSet<QRgb>{kBack, kRed}));
        const int column = static_cast<int>(300 * ratio);
        // The slant crosses the column too, above the horizontal line.
        QVERIFY(countInColumn(image, column, kRed) >= static_cast<int>(2 * width * ratio));
        const int across = static_cast<int>(width * ratio);
        int run = 0;
        for (int y = static_cast<int>(90 * ratio); y < static_cast<int>(110 * ratio); ++y) {
            run += image.pixel(column, y) == kRed ? 1 : 0;
        }
        QCOMPARE(run, across);
    }

    void aDottedLineLeavesGapsAndTheBackColourErases() {
        PictureCanvas canvas;
        canvas.Line(0, 50, 703, 50, colour::kYellow, 1, LineStyle::Dotted);
        int dots = 0;
        for (int x = 0; x < 704; ++x) {
            dots += canvas.image().pixel(x, 50) == QColor(255, 255, 0).rgb() ? 1 : 0;
        }
        QVERIFY(dots > 100 && dots < 604);
        canvas.Line(20, 20, 200, 20, colour::kWhite, 2, LineStyle::Solid);
        canvas.Line(20, 20, 200, 20, colour::kPictureBack, 2, LineStyle::Solid);
        QVERIFY(!coloursOf(canvas.image()).contains(QColor(255, 255, 255).rgb()));
        canvas.Clear();
        QCOMPARE(coloursOf(canvas.image()), QSet<QRgb>{kBack});
    }

    // What was drawn stays in the image: a new density keeps it, and the widget shows it.
    void thePictureSurvivesADensityChangeAndIsShown() {
        PictureCanvas canvas(1.0);
        canvas.Line(100, 200, 300, 200, colour::kRed, 2, LineStyle::Solid);
        canvas.setDevicePixelRatio(2.0);
        QCOMPARE(canvas.image().size(), QSize(1408, 1152));
        QCOMPARE(canvas.image().pixel(400, 400), kRed);
        canvas.setDevicePixelRatio(1.0);

        PictureView view(canvas, nullptr);
        view.resize(view.sizeHint());
        const QImage shown = view.grab().toImage();
        QCOMPARE(shown.pixel(200, 200), kRed);
        QCOMPARE(shown.pixel(200, 300), kBack);
    }
};

QTEST_MAIN(PictureCanvasTest)
#include "PictureCanvasTest.moc"
