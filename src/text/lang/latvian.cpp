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
    {"IDS_WIZARD_FINISH", "Pabeigt"},
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
    {"IDS_REASON_NOTREGULAR",
     "tā nav parasta datne (kanāls, ierīce, saite vai mape)."},
    {"IDS_REASON_UNTRUSTED",
     "tā pieder citam lietotājam, vai citi tajā var rakstīt."},
    {"IDS_REASON_TOOLARGE",
     "tā ir pārāk liela, lai būtu tā, kam jābūt."},
    {"IDS_REASON_NOTRECORD",
     "tas nav šīs instalēšanas programmas ieraksts."},
    {"IDS_RECOVERY_PASSED_OVER",
     "Nepabeigtas instalēšanas ierakstam nevar uzticēties, un tas atstāts, kā ir:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "Atsaucot pārtraukto instalēšanu, šī datne saglabāta, jo tā vairs nepieder instalēšanai:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "Veidņu mapi bloķē rezerves mape, kas nepieder šai instalēšanai:"},
    {"IDS_DRYRUN_PENDING",
     "Ir pārtraukta instalēšana: īsta palaišana vispirms to atsauks mapē"},
    {"IDS_CLEANUP_WARNING",
     "Brīdinājums: veidnes ir instalētas, bet šo nevarēja notīrīt:"},
    {"IDS_KIT_LOOKED_IN", "Tas tika meklēts direktorijā:"},
    {"IDS_KIT_USECWD",
     "Novietojiet izplatīšanas komplekta failu blakus programmai vai palaidiet “setup usecwd” "
     "direktorijā, kurā tas atrodas."},
    {"IDS_BAD_TARGET", "Ar -D norādīto veidņu direktoriju nevar izmantot:"},
    {"IDS_UNKNOWN_OPTION", "nezināms parametrs ignorēts:"},
    {"IDS_LOG_UNWRITABLE", "nevar ierakstīt žurnālu"},
    {"IDS_DRYRUN_FAILED",
     "Izmēģinājums: instalēšana neizdotos. Nekas netika instalēts vai mainīts."},
    {"IDS_USAGE",
     "setup {version} - instalē konfigurācijas veidnes no izplatīšanas komplekta orbp8.pkd\n"
     "\n"
     "Lietošana: setup [usecwd [DIREKTORIJA]] [PARAMETRS]...\n"
     "Izplatīšanas komplekts atrodas blakus programmai; ar usecwd to meklē pašreizējā\n"
     "direktorijā vai DIREKTORIJĀ tajā, ja DIREKTORIJA ir vienīgais cits arguments.\n"
     "\n"
     "Parametri sākas ar - vai /, to burts var būt jebkurā reģistrā. Parametri pēc\n"
     "-L netiek lasīti; jebkurš cits parametrs tiek ignorēts ar brīdinājumu kļūdu\n"
     "izvadē.\n"
     "  -S          bez lietotāja: instalē bez jautājumiem; bez displeja ziņojumi\n"
     "              un gaita tiek izvadīti standarta kļūdu izvadē\n"
     "  -N          izmēģinājums: nolasa komplektu un norāda, kas tiktu izveidots,\n"
     "              aizstāts vai paturēts, diskā neko nemainot; bez lietotāja, bez\n"
     "              logiem\n"
     "  -DCEĻŠ      veidņu direktorija: kur instalē palaišana bez lietotāja un ko\n"
     "              piedāvā vednis; pēc instalēšanas tā tiek ierakstīta palaišanas\n"
     "              programmai (\"~\" ir mājas direktorija, relatīvs CEĻŠ tiek ņemts\n"
     "              no pašreizējās direktorijas)\n"
     "  -GCEĻŠ      pievienot instalēšanas žurnālu failam CEĻŠ (režīms 0600)\n"
     "  -KCEĻŠ      uzticēties arī minisign publiskajai atslēgai failā CEĻŠ (atkārtojams);\n"
     "              ar uzticamu atslēgu (arī /etc/orbsetup/trusted-keys/*.pub) instalē tikai\n"
     "              ar to parakstītu komplektu (orbp8.pkd.minisig blakus tam)\n"
     "  -LKODS      saskarnes valoda: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  izvadīt šo tekstu un beigt darbu\n"
     "  --version       izvadīt programmas versiju un beigt darbu\n"
     "Palaišana bez lietotāja beidzas ar kopsavilkuma rindu kļūdu izvadē.\n"
     "\n"
     "Izejas kodi:\n"
     "  0  instalēts, arī tad, ja visi faili jau bija aktuāli (to rāda kopsavilkums\n"
     "     un žurnāls); izmēģinājums: komplekts ir vesels un to var instalēt\n"
     "  1  nav instalēts: komplekta nav vai tas ir bojāts, veidņu direktorija nav\n"
     "     izmantojama, nepietiek vietas, kļūda instalēšanas laikā (izmaiņas\n"
     "     atsauktas), cita instalēšana tajā pašā direktorijā, nav displeja bez -S;\n"
     "     izmēģinājums: instalēšana neizdotos\n"
     "  2  atcēla lietotājs vai signāls; veidņu direktorija ir tāda pati kā agrāk\n"
     "\n"
     "Žurnālā (-G) ir pa rindai katram notikumam: LAIKS NOTIKUMS TEKSTS, LAIKS ir\n"
     "vietējais laiks ISO 8601 formātā, rindas beigas ceļā ir rakstītas kā \\n:\n"
     "  start     version=V kit=CEĻŠ size=BAITI products=\"...\" language=KODS\n"
     "            target=CEĻŠ mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=CEĻŠ [kept=KOPIJA]: pārtraukta\n"
     "            instalēšana atsaukta startā vai tās saglabātās versijas paturētas\n"
     "  created, replaced, kept   CEĻŠ veidņu direktorijā (kept: instalētais fails\n"
     "            nav vecāks); izmēģinājums raksta would-create, would-replace\n"
     "  error     CEĻŠ: iemesls code=N\n"
     "  rollback  code=N, pēc tam restored CEĻŠ un removed CEĻŠ katram failam\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
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
