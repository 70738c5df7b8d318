// Kazakh resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Конфигурацияны орнату";
constexpr const char* kCancel = "Бас тарту";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Артқа"},
    {"IDS_WIZARD_NEXT", "Келесі >"},
    {"IDS_WIZARD_FINISH", "Дайын"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Орнатуды шынымен тоқтатқыңыз келе ме?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Көшіруге дайындалуда..."},
    {"IDS_INSTALL_ERROR", "Орнату қатесі"},
    {"IDS_ERROR_NOSOURCE", " orbp8.pkd дистрибутив файлы табылмады."},
    {"IDS_ERROR_NOTARGET", "Үлгілерді ағымдағы каталогқа орнатуға қолдау көрсетілмейді."},
    {"IDS_ERROR_NOSPACE", "Temp каталогында бос орын жеткіліксіз."},
    {"IDS_CHOOSEDIR_FOLDER", "&Бума:"},
    {"IDS_CHOOSEDIR_TITLE", "Каталогты таңдау"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Үлгілер каталогына дұрыс жолды көрсетіңіз."},
    {"IDS_INSTALL_FINISH", "Көшіру аяқталды..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     " orbp8.pkd дистрибутив файлы зақымдалған немесе осы орнату бағдарламасына арналмаған."},
    {"IDS_DEFPRODUCT", "<Өнім>"},
    {"IDS_DEFPROVIDER", "<Жеткізуші>"},
    {"IDS_SUCCESS_FINISH", "Конфигурация сәтті орнатылды."},
    {"IDS_SUCCESS_OPENDESCR", "Дистрибутив сипаттамасын ашу"},
    {"IDS_PROGRESS_START", "Файлдар көшірілуде..."},
    {"IDS_ERROR_FINISH",
     "Орнату барысында қате орын алды. Орнату тоқтатылды. Үлгілер каталогы өзгертілмеді."},
    {"IDS_CANCEL_FINISH", "Орнату тоқтатылды. Үлгілер каталогы өзгертілмеді."},
    {"IDS_RECOVERED",
     "Үзілген орнату кері қайтарылды, үлгілер каталогы орнатуға дейінгі күйіне келтірілді:"},
    {"IDS_RECOVERY_FAILED",
     "Үзілген орнатуды толық кері қайтару мүмкін болмады. Файлдарыңыздың сақталған нұсқалары мына "
     "каталогта:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Орнату тоқтатылды. Үлгілер каталогының барлық файлдарын қалпына келтіру мүмкін болмады; "
     "файлдарыңыздың сақталған нұсқалары мына каталогта:"},
    {"IDS_TARGET_BUSY",
     "Осы үлгілер каталогына басқа орнату жүріп жатыр. Ол аяқталғаннан кейін қайталап көріңіз:"},
    {"IDS_ERROR_RECORDDIR",
     "Үлгілер орнатылды, бірақ үлгілер каталогын іске қосу бағдарламасының конфигурация файлына "
     "жазу мүмкін болмады:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Дистрибутив үшін каталог қажет жерде символдық сілтеме немесе файл тұр:"},
    {"IDS_ERROR_KITOPEN", " orbp8.pkd дистрибутив файлын оқу немесе тарқату мүмкін болмады:"},
    {"IDS_ROLLBACK_PROGRESS", "Алдыңғы нұсқа қалпына келтірілуде..."},
    {"IDS_NODISPLAY",
     "Дисплей қолжетімсіз. Терезелерсіз орнату үшін бағдарламаны -S кілтімен іске қосыңыз."},
    {"IDS_REASON_DISKFULL", "дискіде орын жеткіліксіз."},
    {"IDS_REASON_ACCESS", "қатынауға рұқсат жоқ."},
    {"IDS_REASON_READONLY", "файлдық жүйе тек оқуға арналған."},
    {"IDS_REASON_INTHEWAY", "дәл осындай атауы бар файл немесе каталог кедергі келтіреді."},
    {"IDS_REASON_LINK", "каталог немесе файл болуға тиіс жерде символдық сілтеме тұр."},
    {"IDS_REASON_NOTFOUND", "файл немесе каталог жоқ."},
    {"IDS_REASON_DAMAGED", "дистрибутив деректері зақымдалған."},
    {"IDS_REASON_RESTORE", "алдыңғы нұсқаны қалпына келтіру мүмкін болмады."},
    {"IDS_REASON_IO", "дискіні оқу немесе оған жазу мүмкін болмады (енгізу-шығару қатесі)."},
    {"IDS_REASON_OTHER", "жүйелік қате"},
    {"IDS_BOX_YES", "Иә"},
    {"IDS_BOX_NO", "Жоқ"},
    {"IDS_BOX_OK", "Жарайды"},
    {"IDS_SUMMARY",
     "Қорытынды: жасалды {created}, ауыстырылды {replaced}, өзгеріссіз {unchanged}, жазылған байт: "
     "{bytes}."},
    {"IDS_SUMMARY_DRYRUN",
     "Сынақ іске қосу, ештеңе өзгертілмеді: жасалады {created}, ауыстырылады {replaced}, "
     "өзгеріссіз {unchanged}, жазылатын байт: {bytes}."},
    {"IDS_BROWSE_SELDIR", "Таңдалған каталог:"},
    {"IDS_BROWSE_OK", "Таңдау"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Өнімді орнату бағдарламасына қош келдіңіз:"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Орнату каталогында орнату барысында өзгертілуі мүмкін файлдар бар. Жалғастырасыз ба?"},
    {"IDS_DESTINATION_PROMPT",
     "Үлгілер каталогына жолды көрсетіңіз. Орнату бағдарламасы үлгілер мен конфигурация файлдарын "
     "көрсетілген каталогқа орнатады."},
    {"IDS_TEMPLATE_CATALOG", "Үлгілер каталогы:"},
    {"IDS_ERROR_SIGNATURE",
     " orbp8.pkd дистрибутив файлының қолтаңбасын тексеру мүмкін болмады. Ештеңе орнатылмады:"},
    {"IDS_SIGREASON_MISSING",
     "дистрибутивке қол қойылмаған (қасында .minisig файлы жоқ), бірақ сенімді кілт бапталған."},
    {"IDS_SIGREASON_NOTREGULAR", "қарапайым файл емес (символдық сілтеме, каталог немесе арна)."},
    {"IDS_SIGREASON_TOOLARGE", "қолтаңба немесе кілт файлы үшін тым үлкен."},
    {"IDS_SIGREASON_MALFORMED", "minisign қолтаңбасы да, ашық кілті де емес, немесе зақымдалған."},
    {"IDS_SIGREASON_ALGORITHM",
     "қолтаңба алгоритмі белгісіз немесе бұл дистрибутивке қолданылмайды."},
    {"IDS_SIGREASON_UNSAFE",
     "иесі root та, сіз де емес, немесе оған басқалар жаза алады; оған сенім жоқ."},
    {"IDS_SIGREASON_OTHERKEY", "сенім жоқ кілтпен қол қойылған."},
    {"IDS_SIGREASON_MISMATCH",
     "қолтаңба дистрибутивке сәйкес келмейді (қол қойылғаннан кейін өзгертілген немесе басқа "
     "файлдың қолтаңбасы)."},
    {"IDS_SIGREASON_COMMENT", "қолтаңбаның сенімді түсініктемесі өзгертілген."},
    {"IDS_REASON_KITCHANGED", "дистрибутив қолтаңбасы тексерілгеннен кейін дискіде өзгерді."},
    {"IDS_SIGNATURE_VERIFIED", "Қолтаңба мына кілтпен тексерілді:"},
};

}  // namespace

const LanguageSource kKazakhSource = {"kk", kTexts, std::size(kTexts)};

}  // namespace text
