#pragma once

#include <QToolButton>

// A calculator key: stretches sideways with its row and is a little taller than a tool button,
// never narrower than it is high.
class ButtonC : public QToolButton
{
    Q_OBJECT

public:
    explicit ButtonC(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
};
