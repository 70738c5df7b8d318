// The installation engine compiled for the tests' fault-injecting file layer
// and kit reader, as engine.cpp compiles it for the program's.
#include "install/install_fixture.h"
#include "install/installer_entry_impl.h"
#include "install/recover_backup_root_impl.h"

template class BasicBackupRoot<FaultyFileSystem>;
template class BasicRollback<FaultyFileSystem>;
template class BasicInstaller<FaultyKit, FaultyFileSystem>;
