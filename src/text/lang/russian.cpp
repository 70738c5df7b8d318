// Russian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Установка конфигурации";
constexpr const char* kCancel = "Отмена";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Назад"},
    {"IDS_WIZARD_NEXT", "Далее >"},
    {"IDS_WIZARD_FINISH", "Готово"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Вы действительно хотите прервать установку?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Подготовка к копированию..."},
    {"IDS_INSTALL_ERROR", "Ошибка установки"},
    {"IDS_ERROR_NOSOURCE", "Файл дистрибутива orbp8.pkd не найден."},
    {"IDS_ERROR_NOTARGET", "Установка шаблонов в текущий каталог не поддерживается."},
    {"IDS_ERROR_NOSPACE", "Недостаточно свободного места в каталоге Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Каталог:"},
    {"IDS_CHOOSEDIR_TITLE", "Выбор каталога"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Укажите правильный путь к каталогу шаблонов."},
    {"IDS_INSTALL_FINISH", "Копирование завершено..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Файл дистрибутива orbp8.pkd поврежден или не предназначен для этой программы установки."},
    {"IDS_DEFPRODUCT", "<Продукт>"},
    {"IDS_DEFPROVIDER", "<Поставщик>"},
    {"IDS_SUCCESS_FINISH", "Конфигурация успешно установлена."},
    {"IDS_SUCCESS_OPENDESCR", "Открыть описание дистрибутива"},
    {"IDS_PROGRESS_START", "Выполняется копирование файлов..."},
    {"IDS_ERROR_FINISH",
     "В процессе установки произошла ошибка. Установка прервана. Каталог шаблонов не изменен."},
    {"IDS_CANCEL_FINISH", "Установка прервана. Каталог шаблонов не изменен."},
    {"IDS_RECOVERED",
     "Прерванная установка отменена, каталог шаблонов возвращен в состояние до ее начала:"},
    {"IDS_RECOVERY_FAILED",
     "Прерванную установку не удалось отменить полностью. Сохраненные версии ваших файлов "
     "находятся в каталоге:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Установка прервана. Не все файлы каталога шаблонов удалось восстановить; сохраненные версии "
     "ваших файлов находятся в каталоге:"},
    {"IDS_TARGET_BUSY",
     "В этот каталог шаблонов уже выполняется другая установка. Повторите попытку после ее "
     "завершения:"},
    {"IDS_ERROR_RECORDDIR",
     "Шаблоны установлены, но не удалось записать каталог шаблонов в файл конфигурации программы "
     "запуска:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Там, где дистрибутиву нужен каталог, находится символическая ссылка или файл:"},
    {"IDS_ERROR_KITOPEN", "Не удалось прочитать или распаковать файл дистрибутива orbp8.pkd:"},
    {"IDS_ROLLBACK_PROGRESS", "Восстановление предыдущей версии..."},
    {"IDS_NODISPLAY",
     "Дисплей недоступен. Запустите программу с ключом -S, чтобы выполнить установку без окон."},
    {"IDS_REASON_DISKFULL", "недостаточно места на диске."},
    {"IDS_REASON_ACCESS", "отказано в доступе."},
    {"IDS_REASON_READONLY", "файловая система доступна только для чтения."},
    {"IDS_REASON_INTHEWAY", "мешает файл или каталог с таким же именем."},
    {"IDS_REASON_LINK", "на месте каталога или файла находится символическая ссылка."},
    {"IDS_REASON_NOTFOUND", "файл или каталог не существует."},
    {"IDS_REASON_DAMAGED", "данные дистрибутива повреждены."},
    {"IDS_REASON_RESTORE", "не удалось восстановить предыдущую версию."},
    {"IDS_REASON_IO", "не удалось прочитать диск или записать на него (ошибка ввода-вывода)."},
    {"IDS_REASON_OTHER", "системная ошибка"},
    {"IDS_BOX_YES", "Да"},
    {"IDS_BOX_NO", "Нет"},
    {"IDS_BOX_OK", "ОК"},
    {"IDS_SUMMARY",
     "Итог: создано {created}, заменено {replaced}, без изменений {unchanged}, записано байт: "
     "{bytes}."},
    {"IDS_SUMMARY_DRYRUN",
     "Пробный запуск, ничего не изменено: создать {created}, заменить {replaced}, без изменений "
     "{unchanged}, записать байт: {bytes}."},
    {"IDS_BROWSE_SELDIR", "Выбран каталог:"},
    {"IDS_BROWSE_OK", "Выбрать"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Вас приветствует программа установки продукта"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Каталог установки содержит файлы, которые могут быть изменены в процессе установки. "
     "Продолжить?"},
    {"IDS_DESTINATION_PROMPT",
     "Укажите путь к каталогу шаблонов. Программа установки установит шаблоны и файлы конфигурации "
     "в указанный каталог."},
    {"IDS_TEMPLATE_CATALOG", "Каталог шаблонов:"},
    {"IDS_ERROR_SIGNATURE",
     "Не удалось проверить подпись файла дистрибутива orbp8.pkd. Ничего не установлено:"},
    {"IDS_SIGREASON_MISSING",
     "дистрибутив не подписан (рядом нет файла .minisig), а доверенный ключ задан."},
    {"IDS_SIGREASON_NOTREGULAR", "не обычный файл (символическая ссылка, каталог или канал)."},
    {"IDS_SIGREASON_TOOLARGE", "слишком велик для файла подписи или ключа."},
    {"IDS_SIGREASON_MALFORMED", "не подпись и не открытый ключ minisign или повреждён."},
    {"IDS_SIGREASON_ALGORITHM",
     "алгоритм подписи неизвестен или не применим к этому дистрибутиву."},
    {"IDS_SIGREASON_UNSAFE",
     "принадлежит не root и не вам или доступен другим для записи; доверия ему нет."},
    {"IDS_SIGREASON_OTHERKEY", "подписан ключом, которому нет доверия."},
    {"IDS_SIGREASON_MISMATCH",
     "подпись не соответствует дистрибутиву (изменён после подписания или подпись другого файла)."},
    {"IDS_SIGREASON_COMMENT", "доверенный комментарий подписи изменён."},
    {"IDS_REASON_KITCHANGED", "дистрибутив изменился на диске после проверки его подписи."},
    {"IDS_SIGNATURE_VERIFIED", "Подпись проверена ключом:"},
};

}  // namespace

const LanguageSource kRussianSource = {"ru", kTexts, std::size(kTexts)};

}  // namespace text
