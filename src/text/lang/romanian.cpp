// Romanian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Instalarea configurației";
constexpr const char* kCancel = "Anulare";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Înapoi"},
    {"IDS_WIZARD_NEXT", "Înainte >"},
    {"IDS_WIZARD_FINISH", "Finalizare"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Sigur doriți să anulați instalarea?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Se pregătește copierea..."},
    {"IDS_INSTALL_ERROR", "Eroare de instalare"},
    {"IDS_ERROR_NOSOURCE", "Fișierul pachetului de instalare orbp8.pkd nu a fost găsit."},
    {"IDS_ERROR_NOTARGET", "Instalarea șabloanelor în directorul curent nu este acceptată."},
    {"IDS_ERROR_NOSPACE", "Spațiu liber insuficient în directorul Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Dosar:"},
    {"IDS_CHOOSEDIR_TITLE", "Alegeți directorul"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Specificați calea corectă către directorul de șabloane."},
    {"IDS_INSTALL_FINISH", "Copiere finalizată..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Fișierul pachetului de instalare orbp8.pkd este deteriorat sau nu este destinat acestui "
     "program de instalare."},
    {"IDS_DEFPRODUCT", "<Produs>"},
    {"IDS_DEFPROVIDER", "<Furnizor>"},
    {"IDS_SUCCESS_FINISH", "Configurația a fost instalată cu succes."},
    {"IDS_SUCCESS_OPENDESCR", "Deschideți descrierea pachetului de instalare"},
    {"IDS_PROGRESS_START", "Se copiază fișierele..."},
    {"IDS_ERROR_FINISH",
     "A apărut o eroare în timpul instalării. Instalarea a fost anulată. Directorul de șabloane nu "
     "a fost modificat."},
    {"IDS_CANCEL_FINISH", "Instalarea a fost anulată. Directorul de șabloane nu a fost modificat."},
    {"IDS_RECOVERED",
     "O instalare întreruptă a fost anulată, directorul de șabloane a revenit la starea de "
     "dinaintea ei:"},
    {"IDS_RECOVERY_FAILED",
     "O instalare întreruptă nu a putut fi anulată complet. Versiunile salvate ale fișierelor "
     "dumneavoastră sunt păstrate în directorul:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Instalarea a fost anulată. Nu toate fișierele din directorul de șabloane au putut fi "
     "restaurate; versiunile salvate ale fișierelor dumneavoastră sunt păstrate în directorul:"},
    {"IDS_TARGET_BUSY",
     "O altă instalare în acest director de șabloane este în curs. Încercați din nou după ce se "
     "termină:"},
    {"IDS_ERROR_RECORDDIR",
     "Șabloanele au fost instalate, dar directorul de șabloane nu a putut fi înregistrat în "
     "fișierul de configurare al programului de lansare:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Acolo unde pachetul de instalare are nevoie de un director se află o legătură simbolică sau "
     "un fișier:"},
    {"IDS_ERROR_KITOPEN",
     "Fișierul pachetului de instalare orbp8.pkd nu a putut fi citit sau despachetat:"},
    {"IDS_ROLLBACK_PROGRESS", "Se restaurează versiunea anterioară..."},
    {"IDS_NODISPLAY",
     "Nu este disponibil niciun ecran. Rulați programul cu -S pentru a instala fără ferestre."},
    {"IDS_REASON_DISKFULL", "nu există suficient spațiu pe disc."},
    {"IDS_REASON_ACCESS", "accesul a fost refuzat."},
    {"IDS_REASON_READONLY", "sistemul de fișiere este doar pentru citire."},
    {"IDS_REASON_INTHEWAY", "există deja un fișier sau un director cu același nume."},
    {"IDS_REASON_LINK",
     "o legătură simbolică se află acolo unde trebuie să fie un director sau un fișier."},
    {"IDS_REASON_NOTFOUND", "fișierul sau directorul nu există."},
    {"IDS_REASON_DAMAGED", "datele pachetului de instalare sunt deteriorate."},
    {"IDS_REASON_RESTORE", "versiunea anterioară nu a putut fi restaurată."},
    {"IDS_REASON_IO", "discul nu a putut fi citit sau scris (eroare de intrare/ieșire)."},
    {"IDS_REASON_OTHER", "eroare de sistem"},
    {"IDS_BOX_YES", "Da"},
    {"IDS_BOX_NO", "Nu"},
    {"IDS_BOX_OK", "Închide"},
    {"IDS_SUMMARY",
     "Rezumat: {created} create, {replaced} înlocuite, {unchanged} neschimbate, {bytes} octeți "
     "scriși."},
    {"IDS_SUMMARY_DRYRUN",
     "Rulare de probă, nu s-a modificat nimic: {created} de creat, {replaced} de înlocuit, "
     "{unchanged} neschimbate, {bytes} octeți de scris."},
    {"IDS_BROWSE_SELDIR", "Director selectat:"},
    {"IDS_BROWSE_OK", "Selectare"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Bun venit în programul de instalare a produsului"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Directorul de instalare conține fișiere care pot fi modificate în timpul instalării. Doriți "
     "să continuați?"},
    {"IDS_DESTINATION_PROMPT",
     "Specificați calea către directorul de șabloane. Programul de instalare va instala șabloanele "
     "și fișierele de configurare în directorul specificat."},
    {"IDS_TEMPLATE_CATALOG", "Director de șabloane:"},
    {"IDS_REASON_NOTREGULAR",
     "nu este un fișier obișnuit (un canal, un dispozitiv, o legătură sau un director)."},
    {"IDS_REASON_UNTRUSTED",
     "aparține altui utilizator sau alții pot scrie în el."},
    {"IDS_REASON_TOOLARGE",
     "este prea mare pentru ceea ce ar trebui să fie."},
    {"IDS_REASON_NOTRECORD",
     "nu este o înregistrare a acestui program de instalare."},
    {"IDS_RECOVERY_PASSED_OVER",
     "O înregistrare a unei instalări neterminate nu este de încredere și a fost lăsată neschimbată:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "La anularea instalării întrerupte, acest fișier a fost păstrat, deoarece nu mai aparține instalării:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "Un dosar de rezervă care nu aparține acestei instalări blochează directorul de șabloane:"},
    {"IDS_DRYRUN_PENDING",
     "Există o instalare întreruptă: o rulare reală o va anula mai întâi în"},
    {"IDS_CLEANUP_WARNING",
     "Avertisment: șabloanele au fost instalate, dar acest lucru nu a putut fi curățat:"},
    {"IDS_KIT_LOOKED_IN", "A fost căutat în directorul:"},
    {"IDS_KIT_USECWD",
     "Puneți fișierul pachetului de instalare lângă program sau rulați „setup usecwd” în "
     "directorul în care se află."},
    {"IDS_BAD_TARGET", "Directorul de șabloane indicat cu -D nu poate fi folosit:"},
    {"IDS_UNKNOWN_OPTION", "opțiune necunoscută ignorată:"},
    {"IDS_LOG_UNWRITABLE", "nu se poate scrie jurnalul"},
    {"IDS_DRYRUN_FAILED",
     "Rulare de probă: instalarea ar eșua. Nu s-a instalat și nu s-a modificat nimic."},
    {"IDS_USAGE",
     "setup {version} - instalează șabloanele de configurare din pachetul de instalare orbp8.pkd\n"
     "\n"
     "Utilizare: setup [usecwd [DIRECTOR]] [OPȚIUNE]...\n"
     "Pachetul de instalare se află lângă program; cu usecwd este căutat în\n"
     "directorul curent sau în DIRECTOR din acesta, dacă DIRECTOR este singurul alt\n"
     "argument.\n"
     "\n"
     "Opțiunile încep cu - sau /, litera lor poate fi mică sau mare. Opțiunile de\n"
     "după -L nu sunt citite; orice altă opțiune este ignorată cu un avertisment la\n"
     "ieșirea de erori.\n"
     "  -S          nesupravegheat: instalează fără întrebări; fără ecran,\n"
     "              mesajele și progresul merg la ieșirea standard de erori\n"
     "  -N          rulare de probă: citește pachetul și spune ce ar fi creat,\n"
     "              înlocuit sau păstrat, fără a modifica nimic pe disc;\n"
     "              nesupravegheat, fără ferestre\n"
     "  -DCALE      directorul de șabloane: unde instalează o rulare\n"
     "              nesupravegheată și ce propune asistentul; după instalare este\n"
     "              înregistrat pentru programul de lansare (\"~\" este directorul\n"
     "              personal, o CALE relativă se ia din directorul curent)\n"
     "  -GCALE      adaugă un jurnal al instalării la fișierul CALE (mod 0600)\n"
     "  -KCALE      acordă încredere și cheii publice minisign din fișierul CALE (repetabil);\n"
     "              cu o cheie de încredere (și /etc/orbsetup/trusted-keys/*.pub) se instalează\n"
     "              doar un pachet semnat cu ea (orbp8.pkd.minisig alături)\n"
     "  -LCOD       limba interfeței: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  afișează acest text și iese\n"
     "  --version       afișează versiunea programului și iese\n"
     "O rulare nesupravegheată se încheie cu un rând de rezumat la ieșirea de erori.\n"
     "\n"
     "Coduri de ieșire:\n"
     "  0  instalat, și atunci când toate fișierele erau deja la zi (rezumatul și\n"
     "     jurnalul arată care caz); rulare de probă: pachetul este în regulă și\n"
     "     poate fi instalat\n"
     "  1  neinstalat: pachet lipsă sau deteriorat, director de șabloane\n"
     "     inutilizabil, spațiu insuficient, eroare la instalare (anulată), altă\n"
     "     instalare în același director, niciun ecran fără -S; rulare de probă:\n"
     "     instalarea ar eșua\n"
     "  2  anulat de utilizator sau de un semnal; directorul de șabloane a rămas\n"
     "     neschimbat\n"
     "\n"
     "Jurnalul (-G) are câte un rând pentru fiecare eveniment: ORA EVENIMENT TEXT,\n"
     "ORA în ora locală ISO 8601, un sfârșit de rând dintr-o cale scris ca \\n:\n"
     "  start     version=V kit=CALE size=OCTEȚI products=\"...\" language=COD\n"
     "            target=CALE mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=CALE [kept=COPIE]: o instalare\n"
     "            întreruptă anulată la pornire, sau versiunile ei salvate păstrate\n"
     "  created, replaced, kept   CALE în directorul de șabloane (kept: fișierul\n"
     "            instalat nu este mai vechi); o rulare de probă scrie\n"
     "            would-create, would-replace\n"
     "  error     CALE: motiv code=N\n"
     "  rollback  code=N, apoi restored CALE și removed CALE pentru fiecare fișier\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
    {"IDS_ERROR_SIGNATURE",
     "Semnătura fișierului pachetului de instalare orbp8.pkd nu a putut fi verificată. Nu s-a "
     "instalat nimic:"},
    {"IDS_SIGREASON_MISSING",
     "pachetul nu este semnat (lângă el nu există un fișier .minisig), dar este configurată o "
     "cheie de încredere."},
    {"IDS_SIGREASON_NOTREGULAR",
     "nu este un fișier obișnuit (o legătură simbolică, un director sau un canal)."},
    {"IDS_SIGREASON_TOOLARGE", "prea mare pentru un fișier de semnătură sau de cheie."},
    {"IDS_SIGREASON_MALFORMED",
     "nu este o semnătură sau o cheie publică minisign ori este deteriorat."},
    {"IDS_SIGREASON_ALGORITHM",
     "algoritmul semnăturii este necunoscut sau nu poate fi folosit pentru acest pachet."},
    {"IDS_SIGREASON_UNSAFE",
     "proprietarul nu este root sau dumneavoastră ori alții pot scrie în el; nu este de "
     "încredere."},
    {"IDS_SIGREASON_OTHERKEY", "semnat cu o cheie care nu este de încredere."},
    {"IDS_SIGREASON_MISMATCH",
     "semnătura nu corespunde pachetului (modificat după semnare sau semnătura altui fișier)."},
    {"IDS_SIGREASON_COMMENT", "comentariul de încredere al semnăturii a fost modificat."},
    {"IDS_REASON_KITCHANGED", "pachetul s-a modificat pe disc după verificarea semnăturii sale."},
    {"IDS_SIGNATURE_VERIFIED", "Semnătură verificată cu cheia:"},
};

}  // namespace

const LanguageSource kRomanianSource = {"ro", kTexts, std::size(kTexts)};

}  // namespace text
