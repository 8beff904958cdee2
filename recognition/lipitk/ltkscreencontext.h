#pragma once

// Where the writing lies on the screen; an empty box (the default) means "anywhere".
class LTKScreenContext
{
public:
    void setBoundingBox(float left, float top, float right, float bottom)
    {
        m_left = left;
        m_top = top;
        m_right = right;
        m_bottom = bottom;
    }
    float left() const { return m_left; }
    float top() const { return m_top; }
    float right() const { return m_right; }
    float bottom() const { return m_bottom; }

private:
    float m_left = 0.0f;
    float m_top = 0.0f;
    float m_right = 0.0f;
    float m_bottom = 0.0f;
};
