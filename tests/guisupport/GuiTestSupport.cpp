#include "guisupport/GuiTestSupport.h"
