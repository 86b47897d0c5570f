#include "app/browser/BrowserComponent.h"
