// German resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Installation der Konfiguration";
constexpr const char* kCancel = "Abbrechen";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Zurück"},
    {"IDS_WIZARD_NEXT", "Weiter >"},
    {"IDS_WIZARD_FINISH", "Fertig"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Möchten Sie die Installation wirklich abbrechen?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Kopieren wird vorbereitet..."},
    {"IDS_INSTALL_ERROR", "Installationsfehler"},
    {"IDS_ERROR_NOSOURCE", "Das Installationspaket orbp8.pkd wurde nicht gefunden."},
    {"IDS_ERROR_NOTARGET",
     "Die Installation von Vorlagen in das aktuelle Verzeichnis wird nicht unterstützt."},
    {"IDS_ERROR_NOSPACE", "Im Verzeichnis Temp ist nicht genügend Speicherplatz verfügbar."},
    {"IDS_CHOOSEDIR_FOLDER", "&Ordner:"},
    {"IDS_CHOOSEDIR_TITLE", "Verzeichnis auswählen"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Geben Sie einen gültigen Pfad zum Vorlagenverzeichnis an."},
    {"IDS_INSTALL_FINISH", "Kopieren abgeschlossen..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Das Installationspaket orbp8.pkd ist beschädigt oder nicht für dieses Installationsprogramm "
     "bestimmt."},
    {"IDS_DEFPRODUCT", "<Produkt>"},
    {"IDS_DEFPROVIDER", "<Anbieter>"},
    {"IDS_SUCCESS_FINISH", "Die Konfiguration wurde erfolgreich installiert."},
    {"IDS_SUCCESS_OPENDESCR", "Beschreibung des Installationspakets öffnen"},
    {"IDS_PROGRESS_START", "Dateien werden kopiert..."},
    {"IDS_ERROR_FINISH",
     "Während der Installation ist ein Fehler aufgetreten. Die Installation wurde abgebrochen. Das "
     "Vorlagenverzeichnis wurde nicht geändert."},
    {"IDS_CANCEL_FINISH",
     "Die Installation wurde abgebrochen. Das Vorlagenverzeichnis wurde nicht geändert."},
    {"IDS_RECOVERED",
     "Eine unterbrochene Installation wurde rückgängig gemacht, das Vorlagenverzeichnis ist "
     "wieder im Zustand vor dieser Installation:"},
    {"IDS_RECOVERY_FAILED",
     "Eine unterbrochene Installation konnte nicht vollständig rückgängig gemacht werden. Die "
     "gesicherten Versionen Ihrer Dateien befinden sich im Verzeichnis:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Die Installation wurde abgebrochen. Nicht alle Dateien des Vorlagenverzeichnisses konnten "
     "wiederhergestellt werden; die gesicherten Versionen Ihrer Dateien befinden sich im "
     "Verzeichnis:"},
    {"IDS_TARGET_BUSY",
     "Eine andere Installation in dieses Vorlagenverzeichnis läuft bereits. Versuchen Sie es "
     "erneut, sobald sie abgeschlossen ist:"},
    {"IDS_ERROR_RECORDDIR",
     "Die Vorlagen wurden installiert, aber das Vorlagenverzeichnis konnte nicht in die "
     "Konfigurationsdatei des Startprogramms eingetragen werden:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Wo das Installationspaket ein Verzeichnis braucht, steht ein symbolischer Link oder eine "
     "Datei:"},
    {"IDS_ERROR_KITOPEN",
     "Das Installationspaket orbp8.pkd konnte nicht gelesen oder entpackt werden:"},
    {"IDS_ROLLBACK_PROGRESS", "Die vorherige Version wird wiederhergestellt..."},
    {"IDS_NODISPLAY",
     "Keine Anzeige verfügbar. Starten Sie das Programm mit -S, um ohne Fenster zu installieren."},
    {"IDS_REASON_DISKFULL", "auf dem Datenträger ist nicht genügend Speicherplatz frei."},
    {"IDS_REASON_ACCESS", "der Zugriff wurde verweigert."},
    {"IDS_REASON_READONLY", "das Dateisystem ist schreibgeschützt."},
    {"IDS_REASON_INTHEWAY", "eine Datei oder ein Verzeichnis gleichen Namens ist im Weg."},
    {"IDS_REASON_LINK",
     "ein symbolischer Link steht dort, wo ein Verzeichnis oder eine Datei sein muss."},
    {"IDS_REASON_NOTFOUND", "die Datei oder das Verzeichnis existiert nicht."},
    {"IDS_REASON_DAMAGED", "die Daten des Installationspakets sind beschädigt."},
    {"IDS_REASON_RESTORE", "die vorherige Version konnte nicht wiederhergestellt werden."},
    {"IDS_REASON_IO",
     "der Datenträger konnte nicht gelesen oder beschrieben werden (Ein-/Ausgabefehler)."},
    {"IDS_REASON_OTHER", "Systemfehler"},
    {"IDS_BOX_YES", "Ja"},
    {"IDS_BOX_NO", "Nein"},
    {"IDS_BOX_OK", "Schließen"},
    {"IDS_SUMMARY",
     "Zusammenfassung: {created} erstellt, {replaced} ersetzt, {unchanged} unverändert, {bytes} "
     "Bytes geschrieben."},
    {"IDS_SUMMARY_DRYRUN",
     "Probelauf, nichts wurde geändert: {created} zu erstellen, {replaced} zu ersetzen, "
     "{unchanged} unverändert, {bytes} Bytes zu schreiben."},
    {"IDS_BROWSE_SELDIR", "Ausgewähltes Verzeichnis:"},
    {"IDS_BROWSE_OK", "Auswählen"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Willkommen beim Installationsprogramm des Produkts"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Das Installationsverzeichnis enthält Dateien, die während der Installation geändert werden "
     "können. Möchten Sie fortfahren?"},
    {"IDS_DESTINATION_PROMPT",
     "Geben Sie den Pfad zum Vorlagenverzeichnis an. Das Installationsprogramm installiert die "
     "Vorlagen und Konfigurationsdateien in das angegebene Verzeichnis."},
    {"IDS_TEMPLATE_CATALOG", "Vorlagenverzeichnis:"},
    {"IDS_REASON_NOTREGULAR",
     "es ist keine gewöhnliche Datei (eine Pipe, ein Gerät, ein Link oder ein Verzeichnis)."},
    {"IDS_REASON_UNTRUSTED",
     "es gehört einem anderen Benutzer, oder andere dürfen hineinschreiben."},
    {"IDS_REASON_TOOLARGE",
     "es ist zu groß für das, was es sein soll."},
    {"IDS_REASON_NOTRECORD",
     "es ist kein Eintrag dieses Installationsprogramms."},
    {"IDS_RECOVERY_PASSED_OVER",
     "Ein Eintrag einer unvollendeten Installation ist nicht vertrauenswürdig und wurde unverändert gelassen:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "Beim Rückgängigmachen der unterbrochenen Installation wurde diese Datei behalten, da sie nicht mehr zur Installation gehört:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "Ein Sicherungsordner, der nicht zu dieser Installation gehört, blockiert das Vorlagenverzeichnis:"},
    {"IDS_DRYRUN_PENDING",
     "Eine unterbrochene Installation steht aus: ein echter Lauf macht sie zuerst rückgängig in"},
    {"IDS_CLEANUP_WARNING",
     "Warnung: Die Vorlagen wurden installiert, aber dies konnte nicht bereinigt werden:"},
    {"IDS_KIT_LOOKED_IN", "Gesucht wurde im Verzeichnis:"},
    {"IDS_KIT_USECWD",
     "Legen Sie das Installationspaket neben das Programm oder starten Sie „setup usecwd“ in dem "
     "Verzeichnis, in dem es liegt."},
    {"IDS_BAD_TARGET", "Das mit -D angegebene Vorlagenverzeichnis kann nicht verwendet werden:"},
    {"IDS_UNKNOWN_OPTION", "unbekannte Option ignoriert:"},
    {"IDS_LOG_UNWRITABLE", "kann das Protokoll nicht schreiben"},
    {"IDS_DRYRUN_FAILED",
     "Probelauf: Die Installation würde fehlschlagen. Nichts wurde installiert oder geändert."},
    {"IDS_USAGE",
     "setup {version} - installiert die Konfigurationsvorlagen aus dem Installationspaket orbp8.pkd\n"
     "\n"
     "Aufruf: setup [usecwd [VERZEICHNIS]] [OPTION]...\n"
     "Das Installationspaket liegt neben dem Programm; mit usecwd wird es im\n"
     "aktuellen Verzeichnis gesucht oder in VERZEICHNIS darunter, wenn VERZEICHNIS\n"
     "das einzige weitere Argument ist.\n"
     "\n"
     "Optionen beginnen mit - oder /, ihr Buchstabe groß oder klein. Optionen nach\n"
     "-L werden nicht gelesen; jede andere Option wird mit einer Warnung auf der\n"
     "Standardfehlerausgabe übergangen.\n"
     "  -S          unbeaufsichtigt: installiert ohne Rückfragen; ohne Anzeige\n"
     "              gehen Meldungen und Fortschritt auf die Standardfehlerausgabe\n"
     "  -N          Probelauf: liest das Paket und meldet, was erstellt, ersetzt\n"
     "              oder behalten würde, ohne etwas auf dem Datenträger zu ändern;\n"
     "              unbeaufsichtigt, nie ein Fenster\n"
     "  -DPFAD      das Vorlagenverzeichnis: wohin ein unbeaufsichtigter Lauf\n"
     "              installiert und was der Assistent vorschlägt; nach der\n"
     "              Installation für das Startprogramm eingetragen (\"~\" ist das\n"
     "              Benutzerverzeichnis, ein relativer PFAD liegt unter dem\n"
     "              aktuellen Verzeichnis)\n"
     "  -GPFAD      ein Installationsprotokoll an die Datei PFAD anhängen (Modus 0600)\n"
     "  -KPFAD      auch dem öffentlichen minisign-Schlüssel in der Datei PFAD vertrauen\n"
     "              (wiederholbar); mit einem vertrauten Schlüssel (auch /etc/orbsetup/trusted-keys/*.pub)\n"
     "              wird nur ein damit signiertes Paket installiert (orbp8.pkd.minisig daneben)\n"
     "  -LCODE      Sprache der Oberfläche: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  diesen Text ausgeben und beenden\n"
     "  --version       die Version des Programms ausgeben und beenden\n"
     "Ein unbeaufsichtigter Lauf endet mit einer Zusammenfassung auf der\n"
     "Standardfehlerausgabe.\n"
     "\n"
     "Rückgabewerte:\n"
     "  0  installiert, auch wenn alle Dateien schon aktuell waren (Zusammenfassung\n"
     "     und Protokoll zeigen es); Probelauf: das Paket ist fehlerfrei und könnte\n"
     "     installiert werden\n"
     "  1  nicht installiert: Paket fehlt oder ist beschädigt, Vorlagenverzeichnis\n"
     "     unbrauchbar, zu wenig Platz, Fehler beim Installieren (rückgängig\n"
     "     gemacht), eine andere Installation in dasselbe Verzeichnis, keine Anzeige\n"
     "     ohne -S; Probelauf: eine Installation würde fehlschlagen\n"
     "  2  vom Benutzer oder durch ein Signal abgebrochen; das Vorlagenverzeichnis\n"
     "     ist unverändert\n"
     "\n"
     "Das Protokoll (-G) hat eine Zeile je Ereignis: ZEIT EREIGNIS TEXT, ZEIT als\n"
     "Ortszeit in ISO 8601, ein Zeilenumbruch in einem Pfad als \\n geschrieben:\n"
     "  start     version=V kit=PFAD size=BYTES products=\"...\" language=CODE\n"
     "            target=PFAD mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=PFAD [kept=SICHERUNG]: eine\n"
     "            unterbrochene Installation beim Start rückgängig gemacht, oder\n"
     "            ihre gesicherten Versionen behalten\n"
     "  created, replaced, kept   PFAD im Vorlagenverzeichnis (kept: die\n"
     "            installierte Datei ist nicht älter); ein Probelauf schreibt\n"
     "            would-create, would-replace\n"
     "  error     PFAD: Grund code=N\n"
     "  rollback  code=N, dann restored PFAD und removed PFAD für jede Datei\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
    {"IDS_ERROR_SIGNATURE",
     "Die Signatur des Installationspakets orbp8.pkd konnte nicht geprüft werden. Es wurde nichts "
     "installiert:"},
    {"IDS_SIGREASON_MISSING",
     "das Installationspaket ist nicht signiert (keine .minisig-Datei daneben), aber ein "
     "vertrauenswürdiger Schlüssel ist eingerichtet."},
    {"IDS_SIGREASON_NOTREGULAR",
     "keine reguläre Datei (ein symbolischer Link, ein Verzeichnis oder eine Pipe)."},
    {"IDS_SIGREASON_TOOLARGE", "zu groß für eine Signatur- oder Schlüsseldatei."},
    {"IDS_SIGREASON_MALFORMED",
     "keine minisign-Signatur und kein öffentlicher Schlüssel, oder beschädigt."},
    {"IDS_SIGREASON_ALGORITHM",
     "der Signaturalgorithmus ist unbekannt oder für dieses Installationspaket nicht verwendbar."},
    {"IDS_SIGREASON_UNSAFE",
     "gehört weder root noch Ihnen oder ist für andere beschreibbar; ihm wird nicht vertraut."},
    {"IDS_SIGREASON_OTHERKEY", "mit einem Schlüssel signiert, dem nicht vertraut wird."},
    {"IDS_SIGREASON_MISMATCH",
     "die Signatur passt nicht zum Installationspaket (nach dem Signieren geändert oder für eine "
     "andere Datei erstellt)."},
    {"IDS_SIGREASON_COMMENT", "der vertrauenswürdige Kommentar der Signatur wurde geändert."},
    {"IDS_REASON_KITCHANGED",
     "das Installationspaket hat sich auf dem Datenträger geändert, nachdem seine Signatur "
     "geprüft wurde."},
    {"IDS_SIGNATURE_VERIFIED", "Signatur geprüft mit dem Schlüssel:"},
};

}  // namespace

const LanguageSource kGermanSource = {"de", kTexts, std::size(kTexts)};

}  // namespace text
