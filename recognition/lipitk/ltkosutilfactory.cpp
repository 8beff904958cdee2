#include "ltkosutilfactory.h"

#include "ltklinuxutil.h"

LTKOSUtil *LTKOSUtilFactory::getInstance()
{
    return new LTKLinuxUtil;
}
