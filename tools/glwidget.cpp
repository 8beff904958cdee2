#include "glwidget.h"

#include <QImage>
#include <QMouseEvent>

namespace {
// The corners of each face, in the order they are drawn; a cube of side 2 around the origin.
// clang-format off
constexpr int kFaceCorners[6][4][3] = {
    { { +1, -1, -1 }, { -1, -1, -1 }, { -1, +1, -1 }, { +1, +1, -1 } },
    { { +1, +1, -1 }, { -1, +1, -1 }, { -1, +1, +1 }, { +1, +1, +1 } },
    { { +1, -1, +1 }, { +1, -1, -1 }, { +1, +1, -1 }, { +1, +1, +1 } },
    { { -1, -1, -1 }, { -1, -1, +1 }, { -1, +1, +1 }, { -1, +1, -1 } },
    { { +1, -1, +1 }, { -1, -1, +1 }, { -1, -1, -1 }, { +1, -1, -1 } },
    { { -1, -1, +1 }, { +1, -1, +1 }, { +1, +1, +1 }, { -1, +1, +1 } },
};
// clang-format on
constexpr float kCubeScale = 0.2f;
} // namespace

GLWidget::GLWidget(QWidget *parent) : QGLWidget(parent), m_clearColor(Qt::black) { }

GLWidget::~GLWidget()
{
    if (!isValid())
        return;
    makeCurrent();
    for (GLuint texture : m_faceTextures) {
        if (texture)
            deleteTexture(texture);
    }
}

QSize GLWidget::minimumSizeHint() const
{
    return QSize(50, 50);
}

QSize GLWidget::sizeHint() const
{
    return QSize(200, 200);
}

void GLWidget::rotateBy(int xAngle, int yAngle, int zAngle)
{
    m_angleX += xAngle;
    m_angleY += yAngle;
    m_angleZ += zAngle;
    update();
}

void GLWidget::setClearColor(const QColor &color)
{
    m_clearColor = color;
    update();
}

void GLWidget::makeObject()
{
    m_vertexData.clear();
    m_texCoordData.clear();
    for (int face = 0; face < 6; ++face) {
        const QImage picture(QStringLiteral(":/images/side%1.bmp").arg(face + 1));
        m_faceTextures[face] = bindTexture(picture, GL_TEXTURE_2D, GL_RGBA);
        for (int corner = 0; corner < 4; ++corner) {
            m_texCoordData.append(QVector2D(corner == 0 || corner == 3 ? 1 : 0,
                                            corner == 0 || corner == 1 ? 1 : 0));
            m_vertexData.append(QVector3D(kCubeScale * kFaceCorners[face][corner][0],
                                          kCubeScale * kFaceCorners[face][corner][1],
                                          kCubeScale * kFaceCorners[face][corner][2]));
        }
    }
}

void GLWidget::initializeGL()
{
    makeObject();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
}

void GLWidget::resizeGL(int width, int height)
{
    const int side = qMin(width, height);
    glViewport((width - side) / 2, (height - side) / 2, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The y axis points down, as on the widget.
    glOrtho(-0.5, +0.5, +0.5, -0.5, 4.0, 15.0);
    glMatrixMode(GL_MODELVIEW);
}

void GLWidget::paintGL()
{
    qglClearColor(m_clearColor);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    glRotatef(m_angleX / 16.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(m_angleY / 16.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(m_angleZ / 16.0f, 0.0f, 0.0f, 1.0f);
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, m_faceTextures[face]);
        glBegin(GL_TRIANGLE_FAN);
        for (int corner = 0; corner < 4; ++corner) {
            const int index = face * 4 + corner;
            glTexCoord2f(m_texCoordData[index].x(), m_texCoordData[index].y());
            glVertex3f(m_vertexData[index].x(), m_vertexData[index].y(), m_vertexData[index].z());
        }
        glEnd();
    }
}

void GLWidget::mousePressEvent(QMouseEvent *event)
{
    m_lastMousePos = event->pos();
}

void GLWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int dx = event->x() - m_lastMousePos.x();
    const int dy = event->y() - m_lastMousePos.y();
    if (event->buttons() & Qt::LeftButton)
        rotateBy(8 * dy, 8 * dx, 0);
    else if (event->buttons() & Qt::RightButton)
        rotateBy(8 * dy, 0, 8 * dx);
    m_lastMousePos = event->pos();
}

void GLWidget::mouseReleaseEvent(QMouseEvent *)
{
    emit clicked();
}
