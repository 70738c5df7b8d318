// Where the launcher's configuration files and the application's data
// directories live, computed from the home directory afresh at each call, and
// the probe that tells whether files can be created in a directory. Any thread.
#pragma once

#include "text/wide_string.h"

extern const WideString kStartFileName;  // "orbstart.cfg"
extern const WideString kStartrDir;      // ".Orbe/orbstart"
extern const WideString kStartrDirt;     // ".Orbe/orbstartt", the base directory

// The home directory: HOME when it is set and not empty, else the account's
// home directory; a final "/" is kept. Empty when neither can be had.
WideString home_dir();
// home + "/.orbp8". The flag does not change the result.
WideString app_data_dir(bool flag);
// app_data_dir + "/Orbe/orbp8/", ending with "/". The flag does not change the result.
WideString p8_app_data_dir(bool flag);
// p8_app_data_dir + "tmplts/": the template directory proposed when the
// launcher's configuration names no writable one.
WideString default_tmplts_dir();

WideString get_local_config_file_dir();           // home/.Orbe/orbstart
WideString get_local_config_file_path();          // ... + "/orbstart.cfg"
WideString get_allusers_config_file_dir();        // home/.orbp8/.Orbe/orbstart
WideString get_allusers_config_file_path();       // ... + "/orbstart.cfg"
WideString get_local_config_file_dir_base();      // home/.Orbe/orbstartt
WideString get_local_config_file_path_base();     // ... + "/orbstart.cfg"
WideString get_allusers_config_file_path_base();  // same as get_local_config_file_path

// True when a file can be created in the directory. For a directory that does
// not exist yet, true when its nearest existing ancestor is a directory that
// passes the same test, so that the directory could be created. Nothing on
// disk changes, not even a directory's times: an unnamed temporary file is
// opened there and never linked (the access check where the file system has
// none).
bool isWritePermitted(const WideString& directory);
