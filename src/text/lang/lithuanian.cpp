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
    {"IDS_REASON_NOTREGULAR",
     "tai ne įprastas failas (kanalas, įrenginys, nuoroda ar katalogas)."},
    {"IDS_REASON_UNTRUSTED",
     "jis priklauso kitam naudotojui arba kiti gali į jį rašyti."},
    {"IDS_REASON_TOOLARGE",
     "jis per didelis, kad būtų tuo, kuo turi būti."},
    {"IDS_REASON_NOTRECORD",
     "tai ne šios diegimo programos įrašas."},
    {"IDS_RECOVERY_PASSED_OVER",
     "Nebaigto diegimo įrašu negalima pasitikėti, jis paliktas kaip yra:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "Atšaukiant nutrauktą diegimą šis failas paliktas, nes jis nebėra diegimo failas:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "Šablonų katalogą blokuoja atsarginis aplankas, nepriklausantis šiam diegimui:"},
    {"IDS_DRYRUN_PENDING",
     "Yra nutrauktas diegimas: tikras paleidimas pirmiausia jį atšauks kataloge"},
    {"IDS_CLEANUP_WARNING",
     "Įspėjimas: šablonai įdiegti, bet nepavyko išvalyti:"},
    {"IDS_KIT_LOOKED_IN", "Jo ieškota kataloge:"},
    {"IDS_KIT_USECWD",
     "Padėkite platinimo rinkinio failą šalia programos arba paleiskite „setup usecwd“ kataloge, "
     "kuriame jis yra."},
    {"IDS_BAD_TARGET", "Parametru -D nurodyto šablonų katalogo negalima naudoti:"},
    {"IDS_UNKNOWN_OPTION", "nežinomas parametras praleistas:"},
    {"IDS_LOG_UNWRITABLE", "nepavyko rašyti į žurnalą"},
    {"IDS_DRYRUN_FAILED",
     "Bandomasis paleidimas: diegimas nepavyktų. Niekas neįdiegta ir nepakeista."},
    {"IDS_USAGE",
     "setup {version} - įdiegia konfigūracijos šablonus iš platinimo rinkinio orbp8.pkd\n"
     "\n"
     "Naudojimas: setup [usecwd [KATALOGAS]] [PARAMETRAS]...\n"
     "Platinimo rinkinys yra šalia programos; su usecwd jo ieškoma dabartiniame\n"
     "kataloge arba jame esančiame KATALOGE, jei KATALOGAS yra vienintelis kitas\n"
     "argumentas.\n"
     "\n"
     "Parametrai prasideda - arba /, jų raidė gali būti bet kokio dydžio. Parametrai\n"
     "po -L neskaitomi; bet koks kitas parametras praleidžiamas, įspėjant klaidų\n"
     "sraute.\n"
     "  -S          be naudotojo: diegiama neklausiant; be ekrano pranešimai ir\n"
     "              eiga rašomi į standartinį klaidų srautą\n"
     "  -N          bandomasis paleidimas: perskaityti rinkinį ir pranešti, kas\n"
     "              būtų sukurta, pakeista ar palikta, nieko diske nekeičiant; be\n"
     "              naudotojo, be langų\n"
     "  -DKELIAS    šablonų katalogas: kur diegia paleidimas be naudotojo ir ką\n"
     "              siūlo vedlys; įdiegus jis įrašomas paleidimo programai (\"~\" yra\n"
     "              namų katalogas, santykinis KELIAS skaičiuojamas nuo dabartinio\n"
     "              katalogo)\n"
     "  -GKELIAS    papildyti diegimo žurnalą faile KELIAS (režimas 0600)\n"
     "  -KKELIAS    pasitikėti ir minisign viešuoju raktu faile KELIAS (galima kartoti);\n"
     "              esant patikimam raktui (ir /etc/orbsetup/trusted-keys/*.pub) diegiamas tik\n"
     "              juo pasirašytas rinkinys (orbp8.pkd.minisig šalia jo)\n"
     "  -LKODAS     sąsajos kalba: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  išvesti šį tekstą ir baigti\n"
     "  --version       išvesti programos versiją ir baigti\n"
     "Paleidimas be naudotojo baigiamas santraukos eilute klaidų sraute.\n"
     "\n"
     "Išėjimo kodai:\n"
     "  0  įdiegta, taip pat kai visi failai jau buvo naujausi (tai rodo santrauka\n"
     "     ir žurnalas); bandomasis paleidimas: rinkinys tvarkingas ir gali būti\n"
     "     įdiegtas\n"
     "  1  neįdiegta: rinkinio nėra arba jis sugadintas, šablonų katalogas\n"
     "     netinkamas, nepakanka vietos, klaida diegiant (pakeitimai atšaukti),\n"
     "     kitas diegimas į tą patį katalogą, nėra ekrano be -S; bandomasis\n"
     "     paleidimas: diegimas nepavyktų\n"
     "  2  atšaukė naudotojas arba signalas; šablonų katalogas toks pat kaip anksčiau\n"
     "\n"
     "Žurnale (-G) yra po eilutę kiekvienam įvykiui: LAIKAS ĮVYKIS TEKSTAS, LAIKAS -\n"
     "vietinis laikas ISO 8601 formatu, eilutės pabaiga kelyje rašoma kaip \\n:\n"
     "  start     version=V kit=KELIAS size=BAITAI products=\"...\" language=KODAS\n"
     "            target=KELIAS mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=KELIAS [kept=KOPIJA]: nutrauktas\n"
     "            diegimas atšauktas paleidžiant arba jo išsaugotos versijos paliktos\n"
     "  created, replaced, kept   KELIAS šablonų kataloge (kept: įdiegtas failas ne\n"
     "            senesnis); bandomasis paleidimas rašo would-create, would-replace\n"
     "  error     KELIAS: priežastis code=N\n"
     "  rollback  code=N, po to restored KELIAS ir removed KELIAS kiekvienam failui\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
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
