// The installation engine compiled once for the program's file layer: the
// run, its journal, the undo and the recovery at start. The tests compile
// the same definitions for their fault-injecting layer.
#include "install/installer_entry_impl.h"
#include "install/recover_backup_root_impl.h"

template class BasicBackupRoot<FileSystem>;
template class BasicRollback<FileSystem>;
template class BasicInstaller<KitReader, FileSystem>;
template RecoveryOutcome recover_backup_root<FileSystem>(const std::string&, HANDLE,
                                                         const std::string&, uint64_t,
                                                         RecoveryDetail&, const ReplayReport&);
template void remove_made_directories<FileSystem>(const std::vector<std::string>&,
                                                  const JournalRecord&);
