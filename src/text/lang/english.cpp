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
