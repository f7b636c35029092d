// The Qt picture on the offscreen platform: lines go into a persistent image without
// antialiasing, and the view shows it enlarged without smoothing.
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

}  // namespace

class PictureCanvasTest : public QObject {
    Q_OBJECT

  private slots:
    void aBlankPictureIsItsBackground() {
        PictureCanvas canvas;
        QCOMPARE(canvas.image().size(), QSize(704, 576));
        QCOMPARE(coloursOf(canvas.image()), QSet<QRgb>{kBack});
        QCOMPARE(canvas.BackColor(), kPictureBackground);
    }

    // A line of width w covers w units across, in its own colour only: no blended pixels.
    void linesAreDrawnWithoutAntialiasingAtTheirWidth_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("1 unit") << 1;
        QTest::newRow("2 units") << 2;
    }
    void linesAreDrawnWithoutAntialiasingAtTheirWidth() {
        QFETCH(int, width);
        PictureCanvas canvas;
        canvas.Line(10, 100, 600, 100, colour::kRed, width, LineStyle::Solid);
        canvas.Line(10, 10, 500, 400, colour::kRed, width, LineStyle::Solid);  // a slant
        const QImage& image = canvas.image();
        QCOMPARE(coloursOf(image), (QSet<QRgb>{kBack, kRed}));
        int run = 0;
        for (int y = 90; y < 110; ++y) {
            run += image.pixel(300, y) == kRed ? 1 : 0;
        }
        QCOMPARE(run, width);
    }

    void aDottedLineLeavesGapsAndTheBackColourErases() {
        PictureCanvas canvas;
        canvas.Line(0, 50, 703, 50, colour::kYellow, 1, LineStyle::Dotted);
        int dots = 0;
        for (int x = 0; x < 704; ++x) {
            dots += canvas.image().pixel(x, 50) == QColor(255, 255, 0).rgb() ? 1 : 0;
        }
        QVERIFY(dots > 300 && dots < 404);
        canvas.Line(20, 20, 200, 20, colour::kWhite, 2, LineStyle::Solid);
        canvas.Line(20, 20, 200, 20, colour::kPictureBack, 2, LineStyle::Solid);
        QVERIFY(!coloursOf(canvas.image()).contains(QColor(255, 255, 255).rgb()));
        canvas.Clear();
        QCOMPARE(coloursOf(canvas.image()), QSet<QRgb>{kBack});
    }

    // The widget shows what was drawn, enlarged pixel by pixel: still only the two colours.
    void theViewShowsThePictureSharpAtAnySize() {
        PictureCanvas canvas;
        canvas.Line(100, 200, 300, 200, colour::kRed, 2, LineStyle::Solid);
        PictureView view(canvas, nullptr);
        view.resize(view.sizeHint() * 2);
        const QImage shown = view.grab().toImage();
        QCOMPARE(shown.pixel(400, 398), kRed);
        QCOMPARE(shown.pixel(400, 600), kBack);
        QCOMPARE(coloursOf(shown), (QSet<QRgb>{kBack, kRed}));
    }
};

QTEST_MAIN(PictureCanvasTest)
#include "PictureCanvasTest.moc"
