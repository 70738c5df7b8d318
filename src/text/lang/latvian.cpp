// Latvian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Konfigurācijas instalēšana";
constexpr const char* kCancel = "Atcelt";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Atpakaļ"},
    {"IDS_WIZARD_NEXT", "Tālāk >"},
    {"IDS_WIZARD_FINISH", "Gatavs"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Vai tiešām vēlaties atcelt instalēšanu?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Gatavošanās kopēšanai..."},
    {"IDS_INSTALL_ERROR", "Instalēšanas kļūda"},
    {"IDS_ERROR_NOSOURCE", "Izplatīšanas komplekta fails orbp8.pkd nav atrasts."},
    {"IDS_ERROR_NOTARGET", "Veidņu instalēšana pašreizējā direktorijā netiek atbalstīta."},
    {"IDS_ERROR_NOSPACE", "Direktorijā Temp nepietiek brīvas vietas."},
    {"IDS_CHOOSEDIR_FOLDER", "&Mape:"},
    {"IDS_CHOOSEDIR_TITLE", "Direktorijas izvēle"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Norādiet pareizu ceļu uz veidņu direktoriju."},
    {"IDS_INSTALL_FINISH", "Kopēšana pabeigta..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Izplatīšanas komplekta fails orbp8.pkd ir bojāts vai nav paredzēts šai instalēšanas "
     "programmai."},
    {"IDS_DEFPRODUCT", "<Produkts>"},
    {"IDS_DEFPROVIDER", "<Piegādātājs>"},
    {"IDS_SUCCESS_FINISH", "Konfigurācija ir veiksmīgi instalēta."},
    {"IDS_SUCCESS_OPENDESCR", "Atvērt izplatīšanas komplekta aprakstu"},
    {"IDS_PROGRESS_START", "Notiek failu kopēšana..."},
    {"IDS_ERROR_FINISH",
     "Instalēšanas laikā radās kļūda. Instalēšana atcelta. Veidņu direktorija nav mainīta."},
    {"IDS_CANCEL_FINISH", "Instalēšana atcelta. Veidņu direktorija nav mainīta."},
    {"IDS_RECOVERED",
     "Pārtrauktā instalēšana ir atsaukta, veidņu direktorija ir atjaunota stāvoklī, kāds tai bija "
     "pirms instalēšanas:"},
    {"IDS_RECOVERY_FAILED",
     "Pārtraukto instalēšanu neizdevās pilnībā atsaukt. Jūsu failu saglabātās versijas atrodas "
     "direktorijā:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Instalēšana atcelta. Ne visus veidņu direktorijas failus izdevās atjaunot; jūsu failu "
     "saglabātās versijas atrodas direktorijā:"},
    {"IDS_TARGET_BUSY",
     "Šajā veidņu direktorijā jau notiek cita instalēšana. Mēģiniet vēlreiz, kad tā būs pabeigta:"},
    {"IDS_ERROR_RECORDDIR",
     "Veidnes ir instalētas, taču veidņu direktoriju neizdevās ierakstīt palaišanas programmas "
     "konfigurācijas failā:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Vietā, kur izplatīšanas komplektam nepieciešama direktorija, atrodas simboliskā saite vai "
     "fails:"},
    {"IDS_ERROR_KITOPEN", "Izplatīšanas komplekta failu orbp8.pkd neizdevās nolasīt vai izpakot:"},
    {"IDS_ROLLBACK_PROGRESS", "Notiek iepriekšējās versijas atjaunošana..."},
    {"IDS_NODISPLAY",
     "Displejs nav pieejams. Palaidiet programmu ar parametru -S, lai instalētu bez logiem."},
    {"IDS_REASON_DISKFULL", "diskā nepietiek vietas."},
    {"IDS_REASON_ACCESS", "piekļuve liegta."},
    {"IDS_REASON_READONLY", "failu sistēma ir tikai lasāma."},
    {"IDS_REASON_INTHEWAY", "traucē fails vai direktorija ar tādu pašu nosaukumu."},
    {"IDS_REASON_LINK", "direktorijas vai faila vietā atrodas simboliskā saite."},
    {"IDS_REASON_NOTFOUND", "fails vai direktorija neeksistē."},
    {"IDS_REASON_DAMAGED", "izplatīšanas komplekta dati ir bojāti."},
    {"IDS_REASON_RESTORE", "iepriekšējo versiju neizdevās atjaunot."},
    {"IDS_REASON_IO", "disku neizdevās nolasīt vai ierakstīt (ievades/izvades kļūda)."},
    {"IDS_REASON_OTHER", "sistēmas kļūda"},
    {"IDS_BOX_YES", "Jā"},
    {"IDS_BOX_NO", "Nē"},
    {"IDS_BOX_OK", "Labi"},
    {"IDS_SUMMARY",
     "Kopsavilkums: izveidoti {created}, aizstāti {replaced}, nemainīti {unchanged}, ierakstīti "
     "baiti: {bytes}."},
    {"IDS_SUMMARY_DRYRUN",
     "Izmēģinājums, nekas netika mainīts: jāizveido {created}, jāaizstāj {replaced}, nemainīti "
     "{unchanged}, jāieraksta baiti: {bytes}."},
    {"IDS_BROWSE_SELDIR", "Izvēlētā direktorija:"},
    {"IDS_BROWSE_OK", "Izvēlēties"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Laipni lūdzam produkta instalēšanas programmā"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Instalēšanas direktorijā ir faili, kas instalēšanas laikā var tikt mainīti. Vai vēlaties "
     "turpināt?"},
    {"IDS_DESTINATION_PROMPT",
     "Norādiet ceļu uz veidņu direktoriju. Instalēšanas programma instalēs veidnes un "
     "konfigurācijas failus norādītajā direktorijā."},
    {"IDS_TEMPLATE_CATALOG", "Veidņu direktorija:"},
    {"IDS_ERROR_SIGNATURE",
     "Izplatīšanas komplekta faila orbp8.pkd parakstu neizdevās pārbaudīt. Nekas netika "
     "instalēts:"},
    {"IDS_SIGREASON_MISSING",
     "izplatīšanas komplekts nav parakstīts (blakus nav .minisig faila), bet ir iestatīta "
     "uzticama atslēga."},
    {"IDS_SIGREASON_NOTREGULAR", "nav parasts fails (simboliskā saite, direktorija vai kanāls)."},
    {"IDS_SIGREASON_TOOLARGE", "pārāk liels paraksta vai atslēgas failam."},
    {"IDS_SIGREASON_MALFORMED", "nav minisign paraksts vai publiskā atslēga, vai ir bojāts."},
    {"IDS_SIGREASON_ALGORITHM",
     "paraksta algoritms nav zināms vai nav izmantojams šim izplatīšanas komplektam."},
    {"IDS_SIGREASON_UNSAFE",
     "tā īpašnieks nav root vai jūs, vai citi tajā var rakstīt; tam neuzticas."},
    {"IDS_SIGREASON_OTHERKEY", "parakstīts ar atslēgu, kurai neuzticas."},
    {"IDS_SIGREASON_MISMATCH",
     "paraksts neatbilst izplatīšanas komplektam (mainīts pēc parakstīšanas vai parakstīts cits "
     "fails)."},
    {"IDS_SIGREASON_COMMENT", "paraksta uzticamais komentārs ir mainīts."},
    {"IDS_REASON_KITCHANGED", "izplatīšanas komplekts diskā mainījās pēc tā paraksta pārbaudes."},
    {"IDS_SIGNATURE_VERIFIED", "Paraksts pārbaudīts ar atslēgu:"},
};

}  // namespace

const LanguageSource kLatvianSource = {"lv", kTexts, std::size(kTexts)};

}  // namespace text
