#include "install/rollback.h"

const WideString kBackupRootPrefix = u"p8stp";
