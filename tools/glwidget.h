#pragma once

#include <QColor>
#include <QGLWidget>
#include <QPoint>
#include <QVector2D>
#include <QVector3D>
#include <QVector>

// One die: a textured cube drawn with OpenGL, turned by dragging on it.
class GLWidget : public QGLWidget
{
    Q_OBJECT

public:
    explicit GLWidget(QWidget *parent = nullptr);
    ~GLWidget() override;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // Angles in sixteenths of a degree.
    void rotateBy(int xAngle, int yAngle, int zAngle);
    void setClearColor(const QColor &color);

    int angleX() const { return m_angleX; }
    int angleY() const { return m_angleY; }
    int angleZ() const { return m_angleZ; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    void makeObject();

    QColor m_clearColor;
    QPoint m_lastMousePos;
    int m_angleX = 0;
    int m_angleY = 0;
    int m_angleZ = 0;
    GLuint m_faceTextures[6] = {};
    QVector<QVector3D> m_vertexData;
    QVector<QVector2D> m_texCoordData;
};
