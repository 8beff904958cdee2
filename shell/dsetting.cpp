#include "dsetting.h"

#include "appsettings.h"
#include "globals.h"

#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

const char kEditorSheet[] = "#%1 { background-color: rgb(250, 250, 250); border-radius: 5px; "
                            "border: 2px solid rgb(120, 120, 120); }";
const char kButtonSheet[] = "#%1 { background-color: rgb(210, 210, 210); border-radius: 5px; "
                            "border: 2px solid rgb(120, 120, 120); }"
                            "#%1:hover { background-color: rgb(180, 180, 180); border-radius: 5px; "
                            "border: 2px solid rgb(120, 120, 120); }";

QString sheetFor(const char *pattern, const QWidget *widget)
{
    return QString::fromLatin1(pattern).arg(widget->objectName());
}

} // namespace

class Ui_DSetting
{
    // The form's texts belong to the dialog's translation context, where lupdate finds them too.
    Q_DECLARE_TR_FUNCTIONS(DSetting)

public:
    QVBoxLayout *verticalLayout;
    QWidget *widget_2;
    QVBoxLayout *verticalLayout_2;
    QComboBox *selInterface;
    QComboBox *selLanguage;
    QSpinBox *selAutosaveTime;
    QPushButton *pageColor;
    QWidget *widget;
    QHBoxLayout *horizontalLayout;
    QPushButton *acept;
    QPushButton *restore;
    QPushButton *cancel;

    void setupUi(QDialog *dialog)
    {
        dialog->setObjectName(QStringLiteral("DSetting"));
        dialog->setMinimumSize(400, 300);
        dialog->setMaximumSize(400, 300);
        dialog->resize(400, 300);
        verticalLayout = new QVBoxLayout(dialog);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        widget_2 = new QWidget(dialog);
        widget_2->setObjectName(QStringLiteral("widget_2"));
        verticalLayout_2 = new QVBoxLayout(widget_2);
        verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));

        selInterface = new QComboBox;
        selInterface->setObjectName(QStringLiteral("selInterface"));
        selInterface->addItems({ tr("Estandar"), tr("Infantil"), tr("Clásica") });
        addRow("widget_6", "horizontalLayout_5", "label_4", tr("Interfaz por defecto"),
               selInterface);

        selLanguage = new QComboBox;
        selLanguage->setObjectName(QStringLiteral("selLanguage"));
        selLanguage->addItems({ tr("Español"), tr("Inglés"), tr("Ruso"), tr("Portugués"),
                                tr("Francés"), tr("Alemán") });
        addRow("widget_3", "horizontalLayout_2", "label", tr("Idioma por defecto"), selLanguage);

        selAutosaveTime = new QSpinBox;
        selAutosaveTime->setObjectName(QStringLiteral("selAutosaveTime"));
        selAutosaveTime->setRange(1, 60);
        selAutosaveTime->setValue(1);
        addRow("widget_4", "horizontalLayout_3", "label_2", tr("Autoguardado (min)"),
               selAutosaveTime);

        pageColor = new QPushButton;
        pageColor->setObjectName(QStringLiteral("pageColor"));
        pageColor->setFixedSize(40, 40);
        addRow("widget_5", "horizontalLayout_4", "label_3", tr("Color de página por defecto"),
               pageColor);
        verticalLayout->addWidget(widget_2);

        widget = new QWidget(dialog);
        widget->setObjectName(QStringLiteral("widget"));
        widget->setMaximumHeight(30);
        horizontalLayout = new QHBoxLayout(widget);
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        horizontalLayout->setContentsMargins(0, 0, 0, 0);
        acept = addButton("acept", tr("Aceptar"));
        restore = addButton("restore", tr("Restaurar"));
        cancel = addButton("cancel", tr("Cancelar"));
        verticalLayout->addWidget(widget);

        for (QWidget *editor :
             { static_cast<QWidget *>(selInterface), static_cast<QWidget *>(selLanguage),
               static_cast<QWidget *>(selAutosaveTime), static_cast<QWidget *>(pageColor) })
            editor->setStyleSheet(sheetFor(kEditorSheet, editor));
        // The list's own item painter marks the selected entry in the selection colour; the
        // default one paints it with the box's light background, under white text.
        for (QComboBox *combo : { selInterface, selLanguage })
            combo->setItemDelegate(new QStyledItemDelegate(combo));
        for (QWidget *button : { acept, restore, cancel })
            button->setStyleSheet(sheetFor(kButtonSheet, button));

        QMetaObject::connectSlotsByName(dialog);
    }

private:
    void addRow(const char *rowName, const char *layoutName, const char *labelName,
                const QString &text, QWidget *editor)
    {
        auto *row = new QWidget(widget_2);
        row->setObjectName(QLatin1String(rowName));
        auto *layout = new QHBoxLayout(row);
        layout->setObjectName(QLatin1String(layoutName));
        auto *label = new QLabel(text, row);
        label->setObjectName(QLatin1String(labelName));
        layout->addWidget(label);
        editor->setParent(row);
        layout->addWidget(editor);
        verticalLayout_2->addWidget(row);
    }

    QPushButton *addButton(const char *name, const QString &text)
    {
        auto *button = new QPushButton(text, widget);
        button->setObjectName(QLatin1String(name));
        horizontalLayout->addWidget(button);
        return button;
    }
};

DSetting::DSetting(QWidget *parent) : QDialog(parent), ui(new Ui_DSetting)
{
    ui->setupUi(this);
    setWindowTitle(tr("Preferencias"));
}

DSetting::~DSetting()
{
    delete ui;
}

int DSetting::exec()
{
    // The list offers the three start-up styles; multi-user is entered from the menu only.
    const int mode = AppSettings::interfaceMode(settings);
    ui->selInterface->setCurrentIndex(mode <= BtMenus::imClassic ? mode : BtMenus::imStandard);
    ui->selLanguage->setCurrentIndex(AppSettings::language(settings));
    settings.beginGroup(QStringLiteral("System"));
    const int autosave =
            settings.value(QStringLiteral("Autosave"), QStringLiteral("1")).toString().toInt();
    settings.endGroup();
    ui->selAutosaveTime->setValue(autosave); // the spin box keeps it within 1 to 60
    setEditedColour(AppSettings::pageColor(settings));
    return QDialog::exec();
}

void DSetting::on_acept_clicked()
{
    settings.beginGroup(QStringLiteral("System"));
    settings.setValue(QStringLiteral("Interface"), ui->selInterface->currentIndex());
    settings.setValue(QStringLiteral("Autosave"), ui->selAutosaveTime->value());
    settings.setValue(QStringLiteral("PageColor"), m_colour.name());
    settings.setValue(QStringLiteral("Language"), ui->selLanguage->currentIndex());
    settings.endGroup();
    settings.sync();
    close();
}

void DSetting::on_restore_clicked()
{
    QMessageBox question(QMessageBox::Warning, tr("Atención"), tr("Restaurar Valores por Defecto"));
    QPushButton *yes = question.addButton(tr("Si"), QMessageBox::YesRole);
    QPushButton *no = question.addButton(tr("No"), QMessageBox::NoRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no); // Escape is the harmless answer: keep what is in the editors
    question.exec();
    if (question.clickedButton() != yes)
        return;
    ui->selInterface->setCurrentIndex(0);
    ui->selLanguage->setCurrentIndex(0);
    ui->selAutosaveTime->setValue(1);
    setEditedColour(QColor(QStringLiteral("#FFFFFF")));
}

void DSetting::on_cancel_clicked()
{
    close();
}

void DSetting::on_pageColor_clicked()
{
    const QColor chosen = QColorDialog::getColor(Qt::white, nullptr, QString());
    if (chosen.isValid())
        setEditedColour(chosen);
}

void DSetting::setEditedColour(const QColor &colour)
{
    m_colour = colour;
    ui->pageColor->setStyleSheet(
            QStringLiteral("#pageColor { background-color: rgb(%1, %2, %3); border-radius: 5px; "
                           "border: 2px solid rgb(120, 120, 120); }")
                    .arg(colour.red())
                    .arg(colour.green())
                    .arg(colour.blue()));
}
