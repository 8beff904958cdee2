#pragma once

class LTKOSUtil;

class LTKOSUtilFactory
{
public:
    // A new utility for this platform; the caller owns it.
    static LTKOSUtil *getInstance();
};
