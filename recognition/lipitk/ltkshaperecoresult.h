#pragma once

// One candidate of a recognition: the class id and how sure the recogniser is (0 to 1).
class LTKShapeRecoResult
{
public:
    LTKShapeRecoResult() = default;
    LTKShapeRecoResult(int shapeId, float confidence) : m_shapeId(shapeId), m_confidence(confidence)
    {
    }
    int getShapeId() const { return m_shapeId; }
    float getConfidence() const { return m_confidence; }
    void setShapeId(int shapeId) { m_shapeId = shapeId; }
    void setConfidence(float confidence) { m_confidence = confidence; }

private:
    int m_shapeId = -1;
    float m_confidence = 0.0f;
};
