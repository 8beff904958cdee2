#pragma once

#include <QWidget>

// The flat line-width slider of the pen and shape palettes: a fixed scale of 0 to 35 pixels of
// width, a thin track, its blue filled part and a round knob. Values set from code are neither
// clamped nor announced; every press, drag and release of the pointer announces the value.
class DSliderControl : public QWidget
{
    Q_OBJECT
public:
    static constexpr float kFullScale = 35.0f;

    explicit DSliderControl(QWidget *parent = nullptr);

    void setValue(float value);
    float value() const;

signals:
    void valueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateSliderPos(QMouseEvent *event);

    float m_pos = 0.0f; // knob position as a fraction of the track
};
