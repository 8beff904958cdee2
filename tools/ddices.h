#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

class DImageLabel;
class GLWidget;
class QLabel;
class QTimer;

// Six dice on a cyan panel: a roll spins the cubes for two seconds, then shows each die as the
// picture of a face drawn at random. A double click rolls again; the panel is dragged by its
// background, resized from its bottom-right handle and hidden by its close handle.
class DDiceS : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDiceCount = 6;
    static constexpr int kRollMs = 2000;
    static constexpr int kMinimumWidth = 500;
    static constexpr int kMinimumHeight = 160;

    explicit DDiceS(QWidget *parent = nullptr);

    bool isRolling() const;
    GLWidget *cube(int index) const { return m_cubes[index]; }
    QLabel *result(int index) const { return m_results[index]; }
    QPixmap face(int index) const { return m_faces[index]; }
    // The face (0 to 5) each die shows after the last roll; -1 before the first.
    int resultFace(int index) const { return m_resultFaces[index]; }

public slots:
    void rotateOneStep();
    void startRotate();
    void stopRotate();
    void BClose_mouseReleaseEv(DImageLabel *label);
    void BRightBottom_mouseMoveEv(DImageLabel *label, QPoint movepos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPoint m_dragOffset;
    GLWidget *m_cubes[kDiceCount] = {};
    QLabel *m_results[kDiceCount] = {};
    QTimer *m_spinTimer = nullptr;
    QTimer *m_stopTimer = nullptr;
    QPixmap m_faces[kDiceCount];
    int m_resultFaces[kDiceCount] = { -1, -1, -1, -1, -1, -1 };
    DImageLabel *BClose = nullptr;
    DImageLabel *BRightBottom = nullptr;
};
