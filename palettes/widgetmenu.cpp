#include "widgetmenu.h"

WidgetMenu::WidgetMenu(QWidget *parent) : QDialog(parent) { }

WidgetMenu::~WidgetMenu() = default;

void WidgetMenu::setTopLabel() { }

void WidgetMenu::setBottonLabel() { }
