// Lithuanian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Konfigūracijos diegimas";
constexpr const char* kCancel = "Atšaukti";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Atgal"},
    {"IDS_WIZARD_NEXT", "Toliau >"},
    {"IDS_WIZARD_FINISH", "Baigti"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Ar tikrai norite nutraukti diegimą?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Ruošiamasi kopijuoti..."},
    {"IDS_INSTALL_ERROR", "Diegimo klaida"},
    {"IDS_ERROR_NOSOURCE", "Platinimo rinkinio failas orbp8.pkd nerastas."},
    {"IDS_ERROR_NOTARGET", "Šablonų diegimas į dabartinį katalogą nepalaikomas."},
    {"IDS_ERROR_NOSPACE", "Kataloge Temp nepakanka laisvos vietos."},
    {"IDS_CHOOSEDIR_FOLDER", "&Aplankas:"},
    {"IDS_CHOOSEDIR_TITLE", "Katalogo pasirinkimas"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Nurodykite teisingą kelią į šablonų katalogą."},
    {"IDS_INSTALL_FINISH", "Kopijavimas baigtas..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Platinimo rinkinio failas orbp8.pkd sugadintas arba neskirtas šiai diegimo programai."},
    {"IDS_DEFPRODUCT", "<Produktas>"},
    {"IDS_DEFPROVIDER", "<Tiekėjas>"},
    {"IDS_SUCCESS_FINISH", "Konfigūracija sėkmingai įdiegta."},
    {"IDS_SUCCESS_OPENDESCR", "Atverti platinimo rinkinio aprašymą"},
    {"IDS_PROGRESS_START", "Kopijuojami failai..."},
    {"IDS_ERROR_FINISH",
     "Diegimo metu įvyko klaida. Diegimas nutrauktas. Šablonų katalogas nepakeistas."},
    {"IDS_CANCEL_FINISH", "Diegimas nutrauktas. Šablonų katalogas nepakeistas."},
    {"IDS_RECOVERED",
     "Nutraukto diegimo pakeitimai atšaukti, šablonų katalogas atkurtas į būseną, buvusią prieš "
     "diegimą:"},
    {"IDS_RECOVERY_FAILED",
     "Nutraukto diegimo pakeitimų nepavyko visiškai atšaukti. Išsaugotos jūsų failų versijos "
     "laikomos kataloge:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Diegimas nutrauktas. Ne visus šablonų katalogo failus pavyko atkurti; išsaugotos jūsų failų "
     "versijos laikomos kataloge:"},
    {"IDS_TARGET_BUSY",
     "Į šį šablonų katalogą jau vykdomas kitas diegimas. Bandykite dar kartą, kai jis bus "
     "baigtas:"},
    {"IDS_ERROR_RECORDDIR",
     "Šablonai įdiegti, tačiau šablonų katalogo nepavyko įrašyti į paleidimo programos "
     "konfigūracijos failą:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Ten, kur platinimo rinkiniui reikia katalogo, yra simbolinė nuoroda arba failas:"},
    {"IDS_ERROR_KITOPEN",
     "Platinimo rinkinio failo orbp8.pkd nepavyko perskaityti arba išpakuoti:"},
    {"IDS_ROLLBACK_PROGRESS", "Atkuriama ankstesnė versija..."},
    {"IDS_NODISPLAY",
     "Ekranas nepasiekiamas. Paleiskite programą su parametru -S, kad diegtumėte be langų."},
    {"IDS_REASON_DISKFULL", "diske nepakanka vietos."},
    {"IDS_REASON_ACCESS", "prieiga uždrausta."},
    {"IDS_REASON_READONLY", "failų sistema skirta tik skaityti."},
    {"IDS_REASON_INTHEWAY", "trukdo tokio paties pavadinimo failas arba katalogas."},
    {"IDS_REASON_LINK", "katalogo arba failo vietoje yra simbolinė nuoroda."},
    {"IDS_REASON_NOTFOUND", "failas arba katalogas neegzistuoja."},
    {"IDS_REASON_DAMAGED", "platinimo rinkinio duomenys sugadinti."},
    {"IDS_REASON_RESTORE", "ankstesnės versijos atkurti nepavyko."},
    {"IDS_REASON_IO", "nepavyko skaityti iš disko arba rašyti į jį (įvesties/išvesties klaida)."},
    {"IDS_REASON_OTHER", "sistemos klaida"},
    {"IDS_BOX_YES", "Taip"},
    {"IDS_BOX_NO", "Ne"},
    {"IDS_BOX_OK", "Gerai"},
    {"IDS_SUMMARY",
     "Santrauka: sukurta {created}, pakeista {replaced}, nepakeista {unchanged}, įrašyta baitų: "
     "{bytes}."},
    {"IDS_SUMMARY_DRYRUN",
     "Bandomasis paleidimas, niekas nepakeista: bus sukurta {created}, bus pakeista {replaced}, "
     "nepakeista {unchanged}, bus įrašyta baitų: {bytes}."},
    {"IDS_BROWSE_SELDIR", "Pasirinktas katalogas:"},
    {"IDS_BROWSE_OK", "Pasirinkti"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Sveiki atvykę į produkto diegimo programą"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Diegimo kataloge yra failų, kurie diegimo metu gali būti pakeisti. Ar norite tęsti?"},
    {"IDS_DESTINATION_PROMPT",
     "Nurodykite kelią į šablonų katalogą. Diegimo programa įdiegs šablonus ir konfigūracijos "
     "failus į nurodytą katalogą."},
    {"IDS_TEMPLATE_CATALOG", "Šablonų katalogas:"},
    {"IDS_ERROR_SIGNATURE",
     "Nepavyko patikrinti platinimo rinkinio failo orbp8.pkd parašo. Niekas neįdiegta:"},
    {"IDS_SIGREASON_MISSING",
     "platinimo rinkinys nepasirašytas (šalia nėra .minisig failo), nors nustatytas patikimas "
     "raktas."},
    {"IDS_SIGREASON_NOTREGULAR",
     "ne paprastas failas (simbolinė nuoroda, katalogas arba kanalas)."},
    {"IDS_SIGREASON_TOOLARGE", "per didelis parašo arba rakto failui."},
    {"IDS_SIGREASON_MALFORMED", "ne minisign parašas ar viešasis raktas, arba sugadintas."},
    {"IDS_SIGREASON_ALGORITHM",
     "parašo algoritmas nežinomas arba netinka šiam platinimo rinkiniui."},
    {"IDS_SIGREASON_UNSAFE",
     "jo savininkas nėra root ar jūs, arba į jį gali rašyti kiti; juo nepasitikima."},
    {"IDS_SIGREASON_OTHERKEY", "pasirašytas raktu, kuriuo nepasitikima."},
    {"IDS_SIGREASON_MISMATCH",
     "parašas neatitinka platinimo rinkinio (pakeistas po pasirašymo arba pasirašytas kitas "
     "failas)."},
    {"IDS_SIGREASON_COMMENT", "parašo patikimas komentaras pakeistas."},
    {"IDS_REASON_KITCHANGED",
     "platinimo rinkinys diske pasikeitė po to, kai buvo patikrintas jo parašas."},
    {"IDS_SIGNATURE_VERIFIED", "Parašas patikrintas raktu:"},
};

}  // namespace

const LanguageSource kLithuanianSource = {"lt", kTexts, std::size(kTexts)};

}  // namespace text
