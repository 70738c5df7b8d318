#include "install/scripted_file_system.h"

ScriptedFileSystem::Hook ScriptedFileSystem::hook;
