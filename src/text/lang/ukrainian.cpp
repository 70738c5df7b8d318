// Ukrainian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Встановлення конфігурації";
constexpr const char* kCancel = "Відмінити";

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
    {"IDS_SUCCESS_OPENDESCR", "Відкрити опис дистрибутива"},
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
     "Там, де дистрибутиву потрібен каталог, знаходиться символічне посилання або файл:"},
    {"IDS_ERROR_KITOPEN", "Не вдалося прочитати або розпакувати файл дистрибутива orbp8.pkd:"},
    {"IDS_ROLLBACK_PROGRESS", "Відновлення попередньої версії..."},
    {"IDS_NODISPLAY",
     "Дисплей недоступний. Запустіть програму з ключем -S, щоб виконати встановлення без вікон."},
    {"IDS_REASON_DISKFULL", "недостатньо місця на диску."},
    {"IDS_REASON_ACCESS", "у доступі відмовлено."},
    {"IDS_REASON_READONLY", "файлова система доступна лише для читання."},
    {"IDS_REASON_INTHEWAY", "заважає файл або каталог з такою самою назвою."},
    {"IDS_REASON_LINK", "на місці каталогу або файлу знаходиться символічне посилання."},
    {"IDS_REASON_NOTFOUND", "файл або каталог не існує."},
    {"IDS_REASON_DAMAGED", "дані дистрибутива пошкоджено."},
    {"IDS_REASON_RESTORE", "не вдалося відновити попередню версію."},
    {"IDS_REASON_IO",
     "не вдалося прочитати диск або записати на нього (помилка введення-виведення)."},
    {"IDS_REASON_OTHER", "системна помилка"},
    {"IDS_BOX_YES", "Так"},
    {"IDS_BOX_NO", "Ні"},
    {"IDS_BOX_OK", "ОК"},
    {"IDS_SUMMARY",
     "Підсумок: створено {created}, замінено {replaced}, без змін {unchanged}, записано байтів: "
     "{bytes}."},
    {"IDS_SUMMARY_DRYRUN",
     "Пробний запуск, нічого не змінено: створити {created}, замінити {replaced}, без змін "
     "{unchanged}, записати байтів: {bytes}."},
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
    {"IDS_ERROR_SIGNATURE",
     "Не вдалося перевірити підпис файлу дистрибутива orbp8.pkd. Нічого не встановлено:"},
    {"IDS_SIGREASON_MISSING",
     "дистрибутив не підписано (поруч немає файлу .minisig), а довірений ключ задано."},
    {"IDS_SIGREASON_NOTREGULAR", "не звичайний файл (символічне посилання, каталог або канал)."},
    {"IDS_SIGREASON_TOOLARGE", "завеликий для файлу підпису або ключа."},
    {"IDS_SIGREASON_MALFORMED", "не підпис і не відкритий ключ minisign або пошкоджений."},
    {"IDS_SIGREASON_ALGORITHM",
     "алгоритм підпису невідомий або не застосовний до цього дистрибутива."},
    {"IDS_SIGREASON_UNSAFE",
     "належить не root і не вам або доступний іншим для запису; довіри йому немає."},
    {"IDS_SIGREASON_OTHERKEY", "підписано ключем, якому немає довіри."},
    {"IDS_SIGREASON_MISMATCH",
     "підпис не відповідає дистрибутиву (змінено після підписання або підпис іншого файлу)."},
    {"IDS_SIGREASON_COMMENT", "довірений коментар підпису змінено."},
    {"IDS_REASON_KITCHANGED", "дистрибутив змінився на диску після перевірки його підпису."},
    {"IDS_SIGNATURE_VERIFIED", "Підпис перевірено ключем:"},
};

}  // namespace

const LanguageSource kUkrainianSource = {"uk", kTexts, std::size(kTexts)};

}  // namespace text
