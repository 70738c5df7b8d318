// English resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Installing configuration";
constexpr const char* kCancel = "Cancel";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Back"},
    {"IDS_WIZARD_NEXT", "Next >"},
    {"IDS_WIZARD_FINISH", "Ready"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Do you really want to cancel installation?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Preparing to copy..."},
    {"IDS_INSTALL_ERROR", "Installation error"},
    {"IDS_ERROR_NOSOURCE", "Distribution kit file orbp8.pkd not found."},
    {"IDS_ERROR_NOTARGET", "Installation of templates to the current directory is not supported."},
    {"IDS_ERROR_NOSPACE", "Insufficient space available in the directory Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Folder:"},
    {"IDS_CHOOSEDIR_TITLE", "Choose Directory"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Specify correct path to template directory."},
    {"IDS_INSTALL_FINISH", "Copying complete..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Distribution kit file orbp8.pkd corrupted or not designed for this installation program."},
    {"IDS_DEFPRODUCT", "<Product>"},
    {"IDS_DEFPROVIDER", "<Vendor>"},
    {"IDS_SUCCESS_FINISH", "Configuration installed successfully."},
    {"IDS_SUCCESS_OPENDESCR", "Open description of distribution package"},
    {"IDS_PROGRESS_START", "Files being copied..."},
    {"IDS_ERROR_FINISH",
     "An error occurred during the installation process. Installation canceled. Template directory "
     "has not been changed."},
    {"IDS_CANCEL_FINISH", "Installation canceled. Template directory has not been changed."},
    {"IDS_RECOVERED",
     "An interrupted installation was undone; the template directory is as it was before it:"},
    {"IDS_RECOVERY_FAILED",
     "An interrupted installation could not be undone completely. The saved versions of your "
     "files are kept in the directory:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Installation canceled. Not every file of the template directory could be put back; the "
     "saved versions of your files are kept in the directory:"},
    {"IDS_TARGET_BUSY",
     "Another installation into this template directory is running. Try again when it has "
     "finished:"},
    {"IDS_ERROR_RECORDDIR",
     "The templates were installed, but the template directory could not be recorded in the "
     "launcher's configuration file:"},
    {"IDS_ERROR_NOTDIRECTORY", "A symbolic link or a file stands where the kit needs a directory:"},
    {"IDS_ERROR_KITOPEN", "Distribution kit file orbp8.pkd could not be read or unpacked:"},
    {"IDS_ROLLBACK_PROGRESS", "Restoring the previous version..."},
    {"IDS_NODISPLAY",
     "No display is available. Run the program with -S to install without windows."},
    {"IDS_REASON_DISKFULL", "there is not enough space on the disk."},
    {"IDS_REASON_ACCESS", "permission denied."},
    {"IDS_REASON_READONLY", "the file system is read-only."},
    {"IDS_REASON_INTHEWAY", "a file or directory of that name is in the way."},
    {"IDS_REASON_LINK", "a symbolic link stands where a directory or file must be."},
    {"IDS_REASON_NOTFOUND", "the file or directory does not exist."},
    {"IDS_REASON_DAMAGED", "the kit's data is damaged."},
    {"IDS_REASON_RESTORE", "the previous version could not be restored."},
    {"IDS_REASON_IO", "the disk could not be read or written (input/output error)."},
    {"IDS_REASON_OTHER", "system error"},
    {"IDS_BOX_YES", "Yes"},
    {"IDS_BOX_NO", "No"},
    {"IDS_BOX_OK", "OK"},
    {"IDS_SUMMARY",
     "Summary: {created} created, {replaced} replaced, {unchanged} unchanged, {bytes} bytes "
     "written."},
    {"IDS_SUMMARY_DRYRUN",
     "Dry run, nothing was changed: {created} to create, {replaced} to replace, {unchanged} "
     "unchanged, {bytes} bytes to write."},
    {"IDS_BROWSE_SELDIR", "Directory selected:"},
    {"IDS_BROWSE_OK", "Select"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Welcome to the product installation program"},
    {"IDS_SETUP_EXISTEDTARGET",
     "The installation directory contains files that may be changed during the installation "
     "process. Do you want to continue?"},
    {"IDS_DESTINATION_PROMPT",
     "Specify path to template directory. The installation program will install templates and "
     "configuration files to the specified directory."},
    {"IDS_TEMPLATE_CATALOG", "Template directory:"},
    {"IDS_REASON_NOTREGULAR",
     "it is not a regular file (a pipe, a device, a link or a directory)."},
    {"IDS_REASON_UNTRUSTED",
     "it belongs to another user, or others may write to it."},
    {"IDS_REASON_TOOLARGE",
     "it is too large to be what it should be."},
    {"IDS_REASON_NOTRECORD",
     "it is not a record this installation program wrote."},
    {"IDS_RECOVERY_PASSED_OVER",
     "A record of an unfinished installation cannot be trusted and was left as it is:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "Undoing the interrupted installation, this file was kept, as it is no longer the installation's own:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "A backup folder that does not belong to this installation blocks the template directory:"},
    {"IDS_DRYRUN_PENDING",
     "An interrupted installation is pending: a real run will first undo it in"},
    {"IDS_CLEANUP_WARNING",
     "Warning: the templates were installed, but this could not be cleaned up:"},
    {"IDS_KIT_LOOKED_IN", "It was looked for in the directory:"},
    {"IDS_KIT_USECWD",
     "Put the kit file beside the program, or run \"setup usecwd\" in the directory that holds it."},
    {"IDS_BAD_TARGET", "The template directory given with -D cannot be used:"},
    {"IDS_UNKNOWN_OPTION", "unknown option ignored:"},
    {"IDS_LOG_UNWRITABLE", "cannot write the log"},
    {"IDS_DRYRUN_FAILED",
     "Dry run: the installation would fail. Nothing was installed or changed."},
    {"IDS_USAGE",
     "setup {version} - installs the configuration templates of the kit orbp8.pkd\n"
     "\n"
     "Usage: setup [usecwd [DIRECTORY]] [OPTION]...\n"
     "The kit lies beside the program; with usecwd it is looked for in the current\n"
     "directory, or in DIRECTORY below it when DIRECTORY is the only other argument.\n"
     "\n"
     "Options start with - or /, their letter in either case. Options after -L are\n"
     "not read; any other option is ignored with a warning on standard error.\n"
     "  -S          unattended: install without asking; without a display, the\n"
     "              messages and the progress go to standard error\n"
     "  -N          dry run: read the kit and tell what would be created, replaced\n"
     "              or kept, changing nothing on disk; unattended, never a window\n"
     "  -DPATH      the template directory: where an unattended run installs and\n"
     "              what the wizard proposes, recorded for the launcher once\n"
     "              installed (\"~\" is the home directory, a relative PATH lies\n"
     "              below the current directory)\n"
     "  -GPATH      append an installation log to the file PATH (mode 0600)\n"
     "  -KPATH      trust the minisign public key in the file PATH too (repeatable);\n"
     "              with a trusted key (also /etc/orbsetup/trusted-keys/*.pub) only a kit\n"
     "              signed by one (orbp8.pkd.minisig beside it) is installed\n"
     "  -LCODE      interface language: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  print this text and exit\n"
     "  --version       print the program's version and exit\n"
     "An unattended run ends with a summary line on standard error.\n"
     "\n"
     "Exit codes:\n"
     "  0  installed, also when every file was already up to date (the summary and\n"
     "     the log tell which); dry run: the kit is sound and could be installed\n"
     "  1  not installed: a missing or damaged kit, an unusable template directory,\n"
     "     too little space, an error while installing (rolled back), another\n"
     "     installation into the same directory, no display without -S; dry run:\n"
     "     an installation would fail\n"
     "  2  cancelled by the user or a signal; the template directory is as it was\n"
     "\n"
     "The log (-G) holds one line per event: TIME EVENT TEXT, TIME in ISO 8601 local\n"
     "time, a line feed inside a path written as \\n:\n"
     "  start     version=V kit=PATH size=BYTES products=\"...\" language=CODE\n"
     "            target=PATH mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=PATH [kept=BACKUP]: an interrupted\n"
     "            installation undone at start, or its saved versions kept\n"
     "  created, replaced, kept   PATH below the target (kept: the installed file\n"
     "            is as new or newer); a dry run writes would-create, would-replace\n"
     "  error     PATH: reason code=N\n"
     "  rollback  code=N, then restored PATH and removed PATH for each file\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
    {"IDS_ERROR_SIGNATURE",
     "The signature of distribution kit file orbp8.pkd could not be verified. Nothing was "
     "installed:"},
    {"IDS_SIGREASON_MISSING",
     "the kit is not signed (no .minisig file beside it), but a trusted key is configured."},
    {"IDS_SIGREASON_NOTREGULAR", "not a regular file (a symbolic link, a directory or a pipe)."},
    {"IDS_SIGREASON_TOOLARGE", "too large for a signature or key file."},
    {"IDS_SIGREASON_MALFORMED", "not a minisign signature or public key, or damaged."},
    {"IDS_SIGREASON_ALGORITHM",
     "the signature algorithm is unknown or cannot be used for this kit."},
    {"IDS_SIGREASON_UNSAFE",
     "owned by a user other than root or you, or writable by others; it is not trusted."},
    {"IDS_SIGREASON_OTHERKEY", "signed by a key that is not trusted."},
    {"IDS_SIGREASON_MISMATCH",
     "the signature does not match the kit (changed after signing, or signed for another file)."},
    {"IDS_SIGREASON_COMMENT", "the trusted comment of the signature was changed."},
    {"IDS_REASON_KITCHANGED", "the kit changed on disk after its signature was checked."},
    {"IDS_SIGNATURE_VERIFIED", "Signature verified with the key:"},
};

}  // namespace

const LanguageSource kEnglishSource = {"en", kTexts, std::size(kTexts)};

}  // namespace text
