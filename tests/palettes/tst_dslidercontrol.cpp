#include "palettes/dslidercontrol.h"

#include <QSignalSpy>
#include <QTest>

class tst_DSliderControl : public QObject
{
    Q_OBJECT
private slots:
    void startsAtTwo();
    void wholeNumbersRoundTrip();
    void pressMapsToWidth_data();
    void pressMapsToWidth();
    void everyPointerEventEmits();
    void setValueNeitherClampsNorEmits();
    void drawsTrackFillAndKnob();
    void knobFollowsValue();

private:
    static QImage render(DSliderControl &slider);
};

void tst_DSliderControl::startsAtTwo()
{
    DSliderControl slider;
    QCOMPARE(slider.value(), 2.0f);
}

void tst_DSliderControl::wholeNumbersRoundTrip()
{
    // Palettes push the pen's integer width in and read it back truncated: it must survive.
    DSliderControl slider;
    for (int width = 0; width < 60; ++width) {
        slider.setValue(float(width));
        QCOMPARE(int(slider.value()), width);
    }
}

void tst_DSliderControl::pressMapsToWidth_data()
{
    QTest::addColumn<int>("widgetWidth");
    QTest::addColumn<int>("x");
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("emitted");
    QTest::newRow("last pixel") << 100 << 99 << 34.65f << 34;
    QTest::newRow("middle") << 100 << 50 << 17.5f << 17;
    QTest::newRow("near start truncates to 0") << 200 << 3 << 0.525f << 0;
    QTest::newRow("left edge keeps 5") << 100 << 0 << 5.0f << 5;
    QTest::newRow("right of widget keeps 5") << 100 << 100 << 5.0f << 5;
    QTest::newRow("left of widget keeps 5") << 100 << -4 << 5.0f << 5;
}

void tst_DSliderControl::pressMapsToWidth()
{
    QFETCH(int, widgetWidth);
    QFETCH(int, x);
    QFETCH(float, value);
    QFETCH(int, emitted);
    DSliderControl slider;
    slider.resize(widgetWidth, 30);
    slider.setValue(5.0f);
    QSignalSpy spy(&slider, &DSliderControl::valueChanged);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 15));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), emitted);
    QCOMPARE(slider.value(), value);
}

void tst_DSliderControl::everyPointerEventEmits()
{
    QWidget parent;
    auto *slider = new DSliderControl(&parent);
    slider->setGeometry(0, 0, 100, 30);
    parent.show();
    QSignalSpy spy(slider, &DSliderControl::valueChanged);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, QPoint(40, 15));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 15), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    QApplication::sendEvent(slider, &move);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(40, 15));
    QCOMPARE(spy.count(), 4); // the same value each time, still announced
    for (const auto &arguments : spy)
        QCOMPARE(arguments.at(0).toInt(), 14);
}

void tst_DSliderControl::setValueNeitherClampsNorEmits()
{
    DSliderControl slider;
    QSignalSpy spy(&slider, &DSliderControl::valueChanged);
    slider.setValue(40.0f);
    QCOMPARE(slider.value(), 40.0f);
    slider.setValue(-3.0f);
    QCOMPARE(slider.value(), -3.0f);
    QCOMPARE(spy.count(), 0);
}

QImage tst_DSliderControl::render(DSliderControl &slider)
{
    QImage image(slider.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    slider.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

static bool near(QColor actual, QColor expected, int tolerance = 40)
{
    return qAbs(actual.red() - expected.red()) <= tolerance
            && qAbs(actual.green() - expected.green()) <= tolerance
            && qAbs(actual.blue() - expected.blue()) <= tolerance && actual.alpha() > 150;
}

void tst_DSliderControl::drawsTrackFillAndKnob()
{
    DSliderControl slider;
    slider.resize(200, 30);
    slider.setValue(17.5f); // half the scale
    const QImage image = render(slider);
    // Track rows 14 and 15: blue up to the middle, light grey beyond the knob.
    QVERIFY(near(image.pixelColor(20, 14), QColor(33, 150, 243)));
    QVERIFY(near(image.pixelColor(190, 14), QColor(224, 224, 224)));
    // Knob: a 15-pixel circle, top at 7, left at (200 - 15) / 2 = 92.
    QVERIFY(near(image.pixelColor(92 + 7, 7 + 7), QColor(153, 153, 153)));
    QVERIFY(near(image.pixelColor(92 + 7, 9), QColor(153, 153, 153)));
    QCOMPARE(image.pixelColor(92 + 7, 3).alpha(), 0); // above the knob: nothing drawn
    QCOMPARE(image.pixelColor(20, 5).alpha(), 0);
    QCOMPARE(image.pixelColor(20, 25).alpha(), 0);
}

void tst_DSliderControl::knobFollowsValue()
{
    DSliderControl slider;
    slider.resize(200, 30);
    slider.setValue(0.0f);
    QImage image = render(slider);
    QVERIFY(near(image.pixelColor(7, 14), QColor(153, 153, 153)));
    QVERIFY(near(image.pixelColor(190, 14), QColor(224, 224, 224)));
    slider.setValue(35.0f);
    image = render(slider);
    QVERIFY(near(image.pixelColor(200 - 8, 14), QColor(153, 153, 153)));
    QVERIFY(near(image.pixelColor(20, 14), QColor(33, 150, 243)));
}

QTEST_MAIN(tst_DSliderControl)
#include "tst_dslidercontrol.moc"
