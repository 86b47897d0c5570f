#include "components/TransferComponent.h"
