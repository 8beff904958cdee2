#pragma once

// How the strokes were captured: sampling rate, resolution and whether points come evenly spaced.
class LTKCaptureDevice
{
public:
    void setSamplingRate(int rate) { m_samplingRate = rate; }
    void setXDPI(float dpi) { m_xDpi = dpi; }
    void setYDPI(float dpi) { m_yDpi = dpi; }
    void setUniformSampling(bool uniform) { m_uniformSampling = uniform; }
    int getSamplingRate() const { return m_samplingRate; }
    float getXDPI() const { return m_xDpi; }
    float getYDPI() const { return m_yDpi; }
    bool isUniformSampling() const { return m_uniformSampling; }

private:
    int m_samplingRate = 0;
    float m_xDpi = 0.0f;
    float m_yDpi = 0.0f;
    bool m_uniformSampling = false;
};
