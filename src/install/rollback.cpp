#include "install/journal_replay.h"

const char kBackupRootName[] = ".p8stp";
const char kJournalFileName[] = "journal";
const char kCommittedFileName[] = "committed";
const char kSavedDirectoryName[] = "saved";
