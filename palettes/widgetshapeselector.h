#pragma once

#include "buttonmark.h"
#include "shell/btmenus.h"
#include "widgetmenu.h"

#include <QColor>

class QGraphicsScene;
class QPushButton;
class Ui_WidgetShapeSelector;

// The shape palette: outline width with a preview, line style, the shapes, the border colour and
// four fill kinds (solid, gradient, picture, pattern). A colour swatch colours the fill or the
// border, whichever of the two buttons "Borde" and "Fondo Solido" was chosen last.
class WidgetShapeSelector : public WidgetMenu
{
    Q_OBJECT
public:
    enum eFillKind { FillSolid = 0, FillGradient = 1, FillImage = 2, FillPattern = 3 };
    enum eColorTarget { TargetFill = 0, TargetBorder = 1 };

    explicit WidgetShapeSelector(QWidget *parent = nullptr);
    ~WidgetShapeSelector() override;

    void setTopLabel() override;
    void setBottonLabel() override;

    void selectShpButton(QPushButton *button, bool force);
    void selectStyleButton(QPushButton *button);
    void selectFillButton() { }
    void colorAction(QColor color);

    QPushButton *selectedShapeButton() const { return m_shapeMark.selected(); }
    QPushButton *selectedStyleButton() const { return m_styleMark.selected(); }
    BtMenus::btType lastShape() const { return m_lastShape; }
    qint16 colorTarget() const { return m_colorTarget; }
    QColor lastColor() const { return m_lastColor; }
    QString fileFillName() const { return m_fileFillName; }
    QGraphicsScene *previewScene() const { return m_scene; }

    // "r, g, b, a" as the swatch sheets write a colour.
    static QString colourText(const QColor &colour);

signals:
    void buttonClicked(btType bt);
    void colorShpClicked(QColor color);
    void colorShpFillClicked(QColor color, qint16 fillType, QString fileFillName);
    void styleShpClicked(Qt::PenStyle penStyle);
    void widthShpClicked(int width);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void updateExample();
    void on_horizontalSlider_valueChanged(int value);
    void on_solidLine_clicked();
    void on_dotLine_clicked();
    void on_cutLine_clicked();
    void on_cutDotLine_clicked();
    void on_line_clicked();
    void on_triangle_clicked();
    void on_ellipse_clicked();
    void on_circle_clicked();
    void on_square_clicked();
    void on_rectangle_clicked();
    void on_pentagone_clicked();
    void on_hexagone_clicked();
    void on_triangleRectangle_clicked();
    void on_roundRect_clicked();
    void on_parallelogram_clicked();
    void on_rombus_clicked();
    void on_arrow_clicked();
    void on_doubleArrow_clicked();
    void on_star_clicked();
    void on_cube_clicked();
    void on_cone_clicked();
    void on_cylinder_clicked();
    void on_ball_clicked();
    void on_fill_clicked();
    void on_pushButton_clicked();
    void on_redcolor_clicked();
    void on_orangecolor_clicked();
    void on_yellowcolor_clicked();
    void on_pinkcolor_clicked();
    void on_greencolor_clicked();
    void on_forestcolor_clicked();
    void on_purplecolor_clicked();
    void on_skycolor_clicked();
    void on_bluecolor_clicked();
    void on_blackcolor_clicked();
    void on_greycolor_clicked();
    void on_whitecolor_clicked();
    void on_fillcolor_clicked();
    void on_backcolor_clicked();
    void on_gradcolor_clicked();
    void on_imgcolor_clicked();
    void on_tramcolor_clicked();

private:
    void shapeClicked(BtMenus::btType shape);
    void styleChosen(Qt::PenStyle style);
    void markStyleOfPen();
    void swatchClicked(const QColor &colour);
    void swatchClicked(const char *name);
    void setSheet(const char *button, const QString &sheet);
    // The border and fill buttons drawn plain, but for marked, which takes markedLook.
    void showColourChoice(const char *marked, const QString &markedLook);
    // A picture or pattern fill from a file chosen under the home folder's folder.
    void fillFromFile(const QString &folder, const char *marked, const QString &markedLook,
                      qint16 fillKind);
    QPushButton *button(const char *name) const;

    Ui_WidgetShapeSelector *ui;
    QGraphicsScene *m_scene = nullptr; // the preview's scene, a child of the palette
    ButtonMark<QPushButton> m_shapeMark{ "QPushButton" };
    ButtonMark<QPushButton> m_styleMark{ "QPushButton" };
    BtMenus::btType m_lastShape = BtMenus::btLine;
    qint16 m_colorTarget = TargetFill;
    QString m_strBorderColor = QStringLiteral("255, 0, 0, 255");
    QString m_strFillColor = QStringLiteral("0, 0, 0, 0");
    const QString m_strGradColor = QStringLiteral("0, 0, 0, 0");
    const QString m_strImgColor = QStringLiteral("0, 0, 0, 0");
    const QString m_strTramColor = QStringLiteral("0, 0, 0, 0");
    // Sent with every fill kind. Transparent until a colour is chosen, so the view never gets an
    // invalid colour (which would fill with black).
    QColor m_lastColor = QColor(0, 0, 0, 0);
    QString m_fileFillName;
};
