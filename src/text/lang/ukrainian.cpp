// Ukrainian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Встановлення конфігурації";
constexpr const char* kCancel = "Скасувати";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Назад"},
    {"IDS_WIZARD_NEXT", "Далі >"},
    {"IDS_WIZARD_FINISH", "ОК"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Ви дійсно бажаєте перервати встановлення?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Підготовка до копіювання..."},
    {"IDS_INSTALL_ERROR", "Помилка встановлення"},
    {"IDS_ERROR_NOSOURCE", "Файл дистрибутива orbp8.pkd не знайдено."},
    {"IDS_ERROR_NOTARGET", "Встановлення шаблонів у поточний каталог не підтримується."},
    {"IDS_ERROR_NOSPACE", "Недостатньо вільного місця в каталозі Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Тека:"},
    {"IDS_CHOOSEDIR_TITLE", "Вибір каталогу"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Вкажіть правильний шлях до каталогу шаблонів."},
    {"IDS_INSTALL_FINISH", "Копіювання завершено..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Файл дистрибутива orbp8.pkd пошкоджено або він не призначений для цієї програми "
     "встановлення."},
    {"IDS_DEFPRODUCT", "<Продукт>"},
    {"IDS_DEFPROVIDER", "<Постачальник>"},
    {"IDS_SUCCESS_FINISH", "Конфігурацію успішно встановлено."},
    {"IDS_SUCCESS_OPENDESCR", "Відкрити опис комплекту постачання"},
    {"IDS_PROGRESS_START", "Триває копіювання файлів..."},
    {"IDS_ERROR_FINISH",
     "Під час встановлення сталася помилка. Встановлення перервано. Каталог шаблонів не змінено."},
    {"IDS_CANCEL_FINISH", "Встановлення перервано. Каталог шаблонів не змінено."},
    {"IDS_RECOVERED",
     "Перерване встановлення скасовано, каталог шаблонів повернуто до стану перед його початком:"},
    {"IDS_RECOVERY_FAILED",
     "Перерване встановлення не вдалося скасувати повністю. Попередні версії ваших файлів "
     "збережено в каталозі:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Встановлення перервано. Не всі файли каталогу шаблонів вдалося відновити; попередні версії "
     "ваших файлів збережено в каталозі:"},
    {"IDS_TARGET_BUSY",
     "У цей каталог шаблонів уже виконується інше встановлення. Повторіть спробу після його "
     "завершення:"},
    {"IDS_ERROR_RECORDDIR",
     "Шаблони встановлено, але не вдалося записати каталог шаблонів у файл конфігурації програми "
     "запуску:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Там, де комплекту потрібен каталог, знаходиться символічне посилання або файл:"},
    {"IDS_BROWSE_SELDIR", "Вибрано каталог:"},
    {"IDS_BROWSE_OK", "Вибрати"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Вас вітає програма встановлення продукту"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Каталог встановлення містить файли, які можуть бути змінені під час встановлення. "
     "Продовжити?"},
    {"IDS_DESTINATION_PROMPT",
     "Вкажіть шлях до каталогу шаблонів. Програма встановлення встановить шаблони та файли "
     "конфігурації у вказаний каталог."},
    {"IDS_TEMPLATE_CATALOG", "Каталог шаблонів:"},
};

}  // namespace

const LanguageSource kUkrainianSource = {"uk", kTexts, std::size(kTexts)};

}  // namespace text
