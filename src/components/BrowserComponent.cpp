#include "components/BrowserComponent.h"
