#pragma once

#include <QMainWindow>

// The program's one main window: frameless, translucent and covering the whole screen.
class MainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~MainForm() override;
};
