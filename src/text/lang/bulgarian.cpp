// Bulgarian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Инсталиране на конфигурация";
constexpr const char* kCancel = "Отказ";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Назад"},
    {"IDS_WIZARD_NEXT", "Напред >"},
    {"IDS_WIZARD_FINISH", "Край"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Наистина ли искате да прекъснете инсталирането?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Подготовка за копиране..."},
    {"IDS_INSTALL_ERROR", "Грешка при инсталирането"},
    {"IDS_ERROR_NOSOURCE", "Файлът на дистрибуцията orbp8.pkd не е намерен."},
    {"IDS_ERROR_NOTARGET", "Инсталирането на шаблони в текущата директория не се поддържа."},
    {"IDS_ERROR_NOSPACE", "Няма достатъчно свободно място в директорията Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Папка:"},
    {"IDS_CHOOSEDIR_TITLE", "Избор на директория"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Посочете правилен път до директорията с шаблони."},
    {"IDS_INSTALL_FINISH", "Копирането завърши..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Файлът на дистрибуцията orbp8.pkd е повреден или не е предназначен за тази инсталационна "
     "програма."},
    {"IDS_DEFPRODUCT", "<Продукт>"},
    {"IDS_DEFPROVIDER", "<Доставчик>"},
    {"IDS_SUCCESS_FINISH", "Конфигурацията е инсталирана успешно."},
    {"IDS_SUCCESS_OPENDESCR", "Отваряне на описанието на пакета"},
    {"IDS_PROGRESS_START", "Копиране на файловете..."},
    {"IDS_ERROR_FINISH",
     "По време на инсталирането възникна грешка. Инсталирането е прекъснато. Директорията с "
     "шаблони не е променена."},
    {"IDS_CANCEL_FINISH", "Инсталирането е прекъснато. Директорията с шаблони не е променена."},
    {"IDS_RECOVERED",
     "Прекъснатото инсталиране беше отменено, директорията с шаблони е възстановена в състоянието "
     "си отпреди него:"},
    {"IDS_RECOVERY_FAILED",
     "Прекъснатото инсталиране не можа да бъде отменено напълно. Запазените версии на вашите "
     "файлове се намират в директорията:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Инсталирането е прекъснато. Не всички файлове от директорията с шаблони можаха да бъдат "
     "възстановени; запазените версии на вашите файлове се намират в директорията:"},
    {"IDS_TARGET_BUSY",
     "В тази директория с шаблони в момента се извършва друго инсталиране. Опитайте отново, след "
     "като то приключи:"},
    {"IDS_ERROR_RECORDDIR",
     "Шаблоните са инсталирани, но директорията с шаблони не можа да бъде записана в "
     "конфигурационния файл на програмата за стартиране:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "На мястото, където комплектът изисква каталог, има символна връзка или файл:"},
    {"IDS_BROWSE_SELDIR", "Избрана директория:"},
    {"IDS_BROWSE_OK", "Избор"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Добре дошли в програмата за инсталиране на продукта"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Инсталационната директория съдържа файлове, които може да бъдат променени по време на "
     "инсталирането. Искате ли да продължите?"},
    {"IDS_DESTINATION_PROMPT",
     "Посочете път до директорията с шаблони. Инсталационната програма ще инсталира шаблоните и "
     "конфигурационните файлове в посочената директория."},
    {"IDS_TEMPLATE_CATALOG", "Директория с шаблони:"},
};

}  // namespace

const LanguageSource kBulgarianSource = {"bg", kTexts, std::size(kTexts)};

}  // namespace text
