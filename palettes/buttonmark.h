#pragma once

#include "palettestyle.h"

#include <QPointer>
#include <QPushButton>
#include <QToolButton>

// The selected button of one group of palette buttons, marked by swapping its style sheet (the
// checked state plays no part, so it works alike for plain and checkable buttons). The mark is
// given back to the button's own sheet when another button takes it or the group is cleared.
template <class Button> class ButtonMark
{
public:
    // selector: "QPushButton" or "QToolButton", for the usual mark sheet of that class.
    explicit ButtonMark(const char *selector) : m_markSheet(PaletteStyle::markSheet(selector)) { }
    // A palette with its own look of the mark.
    explicit ButtonMark(const QString &markSheet) : m_markSheet(markSheet) { }

    Button *selected() const { return m_selected; }
    const QString &savedSheet() const { return m_savedSheet; }

    // Null clears the mark. The marked button again: nothing changes, unless force re-applies it.
    void select(Button *button, bool force = false)
    {
        if (!button) {
            restore();
            return;
        }
        if (button == m_selected && !force)
            return;
        restore();
        m_selected = button;
        m_savedSheet = button->styleSheet();
        button->setStyleSheet(m_markSheet);
    }

private:
    void restore()
    {
        if (m_selected)
            m_selected->setStyleSheet(m_savedSheet);
        m_selected = nullptr;
    }

    const QString m_markSheet;
    // Guarded, so a form rebuilt or a button deleted never leaves a dangling mark behind.
    QPointer<Button> m_selected;
    QString m_savedSheet;
};
