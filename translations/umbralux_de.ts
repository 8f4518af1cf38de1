<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CommandLine</name>
    <message>
        <source>Covers the screen with one colour until it is dismissed in the way chosen in the options window.</source>
        <translation>Deckt den Bildschirm mit einer Farbe ab, bis er auf die im Optionsfenster gewählte Weise wieder freigegeben wird.</translation>
    </message>
    <message>
        <source>Displays this help and exits.</source>
        <translation>Zeigt diese Hilfe an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Covers the screen at once with the stored choices, as Show Screen does. When Umbralux runs already, its blank screen is shown instead.</source>
        <translation>Deckt den Bildschirm sofort mit den gespeicherten Einstellungen ab, wie es „Bildschirm abdecken“ tut. Läuft Umbralux bereits, wird stattdessen sein leerer Bildschirm gezeigt.</translation>
    </message>
    <message>
        <source>With --show: keeps the computer awake for at most DURATION (90s, 45m, 2h, 1h30m; up to a week), then hands keep-awake back while the screen stays covered. Keep-awake is on for that long even when the options window&apos;s box is unticked; nothing is stored.</source>
        <translation>Mit --show: hält den Computer höchstens DAUER lang wach (90s, 45m, 2h, 1h30m; bis zu einer Woche) und gibt das Wachhalten danach ab, während der Bildschirm abgedeckt bleibt. Das Wachhalten gilt so lange auch dann, wenn das Kästchen im Optionsfenster nicht angekreuzt ist; nichts wird gespeichert.</translation>
    </message>
    <message>
        <source>DURATION</source>
        <translation>DAUER</translation>
    </message>
    <message>
        <source>With --show, once or more: covers only the monitor of this name (see --list-monitors); the others stay usable.</source>
        <translation>Mit --show, ein- oder mehrmals: deckt nur den Monitor dieses Namens ab (siehe --list-monitors); die anderen bleiben benutzbar.</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>With --show: powers the monitors off while the screen is covered. Input wakes them without dismissing the blank screen, which powers them off again after a while; they come on at every end of the showing.</source>
        <translation>Mit --show: schaltet die Monitore aus, solange der Bildschirm abgedeckt ist. Eingaben wecken sie, ohne den leeren Bildschirm zu beenden, der sie nach einer Weile wieder ausschaltet; bei jedem Ende der Anzeige gehen sie wieder an.</translation>
    </message>
    <message>
        <source>Lists the monitors, one per line: the desktop&apos;s name for it, its geometry and scale, and which one is primary.</source>
        <translation>Listet die Monitore auf, einen pro Zeile: den Namen, den der Desktop ihm gibt, seine Geometrie und Skalierung, und welcher der primäre ist.</translation>
    </message>
    <message>
        <source>Prints the running instance&apos;s state as JSON: whether the screen is covered and since when, the exit method, and for each means of keep-awake whether it holds, was refused and why, or is not there.</source>
        <translation>Gibt den Zustand der laufenden Instanz als JSON aus: ob der Bildschirm abgedeckt ist und seit wann, die Art des Beendens und für jedes Mittel des Wachhaltens, ob es greift, abgelehnt wurde und warum, oder nicht vorhanden ist.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>--keep-awake-for goes with --show.</source>
        <translation>--keep-awake-for gilt nur zusammen mit --show.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no duration for --keep-awake-for: write it as 90s, 45m, 2h or 1h30m, more than nothing and at most a week.</source>
        <translation>„%1“ ist keine Dauer für --keep-awake-for: Geben Sie sie als 90s, 45m, 2h oder 1h30m an, länger als null und höchstens eine Woche.</translation>
    </message>
    <message>
        <source>--monitor goes with --show.</source>
        <translation>--monitor gilt nur zusammen mit --show.</translation>
    </message>
    <message>
        <source>--monitors-off goes with --show.</source>
        <translation>--monitors-off gilt nur zusammen mit --show.</translation>
    </message>
    <message>
        <source>--show, --list-monitors and --status do not go together.</source>
        <translation>--show, --list-monitors und --status schließen einander aus.</translation>
    </message>
    <message>
        <source>%1: Umbralux is not running, so there is no state to print.
</source>
        <translation>%1: Umbralux läuft nicht, daher gibt es keinen Zustand auszugeben.
</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Bitte senden Sie ein Bildschirmfoto dieser Meldung per E-Mail an %1</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation>in Zeile %1</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Anwendungsfehler</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Ungültiger Prozeduraufruf oder ungültiges Argument</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Ungültiger Eigenschaftswert</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Permission denied: %1</source>
        <translation>Zugriff verweigert: %1</translation>
    </message>
    <message>
        <source>Not a regular file: %1</source>
        <translation>Keine reguläre Datei: %1</translation>
    </message>
    <message>
        <source>File too large: %1</source>
        <translation>Datei zu groß: %1</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>Could not load the skin: %1</source>
        <translation>Der Skin konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>Could not load the skin %1: it is not UTF-8 text</source>
        <translation>Der Skin %1 konnte nicht geladen werden: Er ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>Invalid window handle</source>
        <translation>Ungültiges Fensterhandle</translation>
    </message>
    <message>
        <source>Object required</source>
        <translation>Objekt erforderlich</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>it is not a regular file; nothing is saved until it is removed</source>
        <translation>dort liegt keine reguläre Datei; bis sie entfernt ist, wird nichts gespeichert</translation>
    </message>
    <message>
        <source>another program keeps the settings file locked</source>
        <translation>ein anderes Programm hält die Einstellungsdatei gesperrt</translation>
    </message>
    <message>
        <source>the lock file beside it cannot be made</source>
        <translation>die Sperrdatei daneben kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>it belongs to another user; it is left as it is</source>
        <translation>sie gehört einem anderen Benutzer und bleibt unverändert</translation>
    </message>
    <message>
        <source>the registry refused the value &quot;%1&quot;: %2</source>
        <translation>die Registrierung hat den Wert „%1“ abgelehnt: %2</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Show Screen</source>
        <translation>Bildschirm abdecken</translation>
    </message>
    <message>
        <source>Change Color</source>
        <translation>Farbe ändern</translation>
    </message>
    <message>
        <source>Reset Color To Default</source>
        <translation>Standardfarbe wiederherstellen</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Hide Options</source>
        <translation>Ausblendoptionen</translation>
    </message>
    <message>
        <source>Show on &apos;ESC&apos; key press</source>
        <translation>Zurück mit &apos;ESC&apos;-Taste</translation>
    </message>
    <message>
        <source>Show on any key press</source>
        <translation>Zurück mit jeder Taste</translation>
    </message>
    <message>
        <source>Show on mouse click</source>
        <translation>Zurück mit Mausklick</translation>
    </message>
    <message>
        <source>Show on this password:</source>
        <translation>Zurück mit Passwort:</translation>
    </message>
    <message>
        <source>Prevent Option</source>
        <translation>Wachhalten</translation>
    </message>
    <message>
        <source>Prevent computer from sleeping or starting screensaver</source>
        <translation>Ruhezustand und Bildschirmschoner verhindern</translation>
    </message>
</context>
<context>
    <name>Form1Accessibility</name>
    <message>
        <source>Choose how the blank screen is dismissed, its colour, and whether the computer stays awake</source>
        <translation>Wählen Sie, wie der leere Bildschirm beendet wird, seine Farbe und ob der Computer wach bleibt</translation>
    </message>
    <message>
        <source>Umbralux options</source>
        <translation>Umbralux-Optionen</translation>
    </message>
    <message>
        <source>Press Tab to reach the controls</source>
        <translation>Mit Tab erreichen Sie die Bedienelemente</translation>
    </message>
    <message>
        <source>Covers the screen until the chosen input dismisses it</source>
        <translation>Deckt den Bildschirm ab, bis die gewählte Eingabe ihn freigibt</translation>
    </message>
    <message>
        <source>Opens the colour dialog for the screen colour</source>
        <translation>Öffnet den Farbdialog für die Bildschirmfarbe</translation>
    </message>
    <message>
        <source>Makes the screen colour black</source>
        <translation>Setzt die Bildschirmfarbe auf Schwarz</translation>
    </message>
    <message>
        <source>How the blank screen is dismissed</source>
        <translation>Wie der leere Bildschirm beendet wird</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>The password that dismisses the blank screen</source>
        <translation>Das Passwort, das den leeren Bildschirm beendet</translation>
    </message>
    <message>
        <source>Screen colour</source>
        <translation>Bildschirmfarbe</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>Press ESC To Exit. Type &apos;hide&apos; to hide this text.</source>
        <translation>Zum Beenden ESC drücken. &apos;hide&apos; eingeben, um diesen Text auszublenden.</translation>
    </message>
</context>
<context>
    <name>KeepAwake</name>
    <message>
        <source>Keep-awake uses %1.</source>
        <translation>Das Wachhalten nutzt %1.</translation>
    </message>
    <message>
        <source>Keep-awake will use whichever of these the desktop offers: %1.</source>
        <translation>Das Wachhalten nutzt, was der Desktop hiervon anbietet: %1.</translation>
    </message>
    <message>
        <source>Keep-awake is not available on this desktop.</source>
        <translation>Wachhalten ist auf diesem Desktop nicht verfügbar.</translation>
    </message>
    <message>
        <source>Keep-awake is not available on this desktop: %1.</source>
        <translation>Wachhalten ist auf diesem Desktop nicht verfügbar: %1.</translation>
    </message>
    <message>
        <source>no connection to the bus</source>
        <translation>keine Verbindung zum Bus</translation>
    </message>
    <message>
        <source>unexpected answer</source>
        <translation>unerwartete Antwort</translation>
    </message>
    <message>
        <source>the compositor&apos;s idle inhibitor (%1)</source>
        <translation>die Leerlaufsperre des Compositors (%1)</translation>
    </message>
    <message>
        <source>the compositor does not offer %1</source>
        <translation>der Compositor bietet %1 nicht an</translation>
    </message>
    <message>
        <source>built without Wayland&apos;s idle inhibitor</source>
        <translation>ohne die Leerlaufsperre von Wayland gebaut</translation>
    </message>
    <message>
        <source>Windows power management</source>
        <translation>die Energieverwaltung von Windows</translation>
    </message>
    <message>
        <source>the X server&apos;s screen saver control</source>
        <translation>die Bildschirmschoner-Steuerung des X-Servers</translation>
    </message>
    <message>
        <source>the X server has no screen saver control</source>
        <translation>der X-Server hat keine Bildschirmschoner-Steuerung</translation>
    </message>
    <message>
        <source>no X server</source>
        <translation>kein X-Server</translation>
    </message>
    <message>
        <source>xscreensaver&apos;s deactivate command</source>
        <translation>den Deaktivierungsbefehl von xscreensaver</translation>
    </message>
</context>
<context>
    <name>MonitorPower</name>
    <message>
        <source>nothing here can power the monitors off</source>
        <translation>hier kann nichts die Monitore ausschalten</translation>
    </message>
    <message>
        <source>GNOME: no session bus</source>
        <translation>GNOME: kein Sitzungsbus</translation>
    </message>
    <message>
        <source>GNOME: its display configuration is not on the session bus</source>
        <translation>GNOME: seine Bildschirmkonfiguration ist nicht auf dem Sitzungsbus</translation>
    </message>
    <message>
        <source>GNOME: %1</source>
        <translation>GNOME: %1</translation>
    </message>
    <message>
        <source>Wayland: no compositor to connect to</source>
        <translation>Wayland: kein Compositor, mit dem sich verbinden ließe</translation>
    </message>
    <message>
        <source>Wayland: the compositor closed the connection</source>
        <translation>Wayland: der Compositor hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Wayland: the compositor names no output</source>
        <translation>Wayland: der Compositor nennt keinen Ausgang</translation>
    </message>
    <message>
        <source>Wayland: the compositor took back the control of the outputs&apos; power</source>
        <translation>Wayland: der Compositor hat die Steuerung der Stromversorgung der Ausgänge zurückgenommen</translation>
    </message>
    <message>
        <source>Wayland: the compositor did not power its outputs off</source>
        <translation>Wayland: der Compositor hat seine Ausgänge nicht ausgeschaltet</translation>
    </message>
    <message>
        <source>Wayland: this build has no Wayland client</source>
        <translation>Wayland: dieser Build hat keinen Wayland-Client</translation>
    </message>
    <message>
        <source>DPMS: the program does not run on an X server</source>
        <translation>DPMS: das Programm läuft nicht auf einem X-Server</translation>
    </message>
    <message>
        <source>DPMS: the X server has no DPMS extension</source>
        <translation>DPMS: der X-Server hat keine DPMS-Erweiterung</translation>
    </message>
    <message>
        <source>DPMS: the X server cannot power its monitors off</source>
        <translation>DPMS: der X-Server kann seine Monitore nicht ausschalten</translation>
    </message>
    <message>
        <source>DPMS: the X server refused to turn DPMS on</source>
        <translation>DPMS: der X-Server hat das Einschalten von DPMS abgelehnt</translation>
    </message>
    <message>
        <source>DPMS: the X server refused to power the monitors off</source>
        <translation>DPMS: der X-Server hat das Ausschalten der Monitore abgelehnt</translation>
    </message>
    <message>
        <source>DPMS: this build has no X11</source>
        <translation>DPMS: dieser Build hat kein X11</translation>
    </message>
    <message>
        <source>the display is neither X11 nor Wayland</source>
        <translation>die Anzeige ist weder X11 noch Wayland</translation>
    </message>
    <message>
        <source>%1: the monitors stay on: %2
</source>
        <translation>%1: die Monitore bleiben an: %2
</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings cannot be saved to %1: %2</source>
        <translation>Die Einstellungen können nicht in %1 gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>this instance serves no requests
</source>
        <translation>diese Instanz nimmt keine Anfragen an
</translation>
    </message>
</context>
<context>
    <name>umbralux::Application</name>
    <message>
        <source>%1: a failure escaped an event handler and the program ends: %2
</source>
        <translation>%1: Ein Fehler ist aus einer Ereignisbehandlung entkommen, das Programm endet: %2
</translation>
    </message>
</context>
<context>
    <name>umbralux::Form1</name>
    <message>
        <source>Please set password or change %1.</source>
        <translation>Bitte legen Sie ein Passwort fest oder ändern Sie die Wahl unter „%1“.</translation>
    </message>
    <message>
        <source>Press any key to exit</source>
        <translation>Zum Beenden beliebige Taste drücken</translation>
    </message>
    <message>
        <source>Press &apos;ESC&apos; key to exit</source>
        <translation>Zum Beenden &apos;ESC&apos; drücken</translation>
    </message>
    <message>
        <source>Click mouse to exit</source>
        <translation>Zum Beenden mit der Maus klicken</translation>
    </message>
    <message>
        <source>Type password to exit</source>
        <translation>Zum Beenden Passwort eingeben</translation>
    </message>
</context>
<context>
    <name>umbralux::Program</name>
    <message>
        <source>%1: the screen is not covered: the password method has no password yet, and the options window says so.
</source>
        <translation>%1: Der Bildschirm wird nicht abgedeckt: Für das Beenden mit Passwort ist noch kein Passwort festgelegt, und das Optionsfenster weist darauf hin.
</translation>
    </message>
    <message>
        <source>%1: no monitor is named &apos;%2&apos;; the monitors are: %3. Nothing was covered.
</source>
        <translation>%1: Kein Monitor heißt „%2“; die Monitore sind: %3. Nichts wurde abgedeckt.
</translation>
    </message>
</context>
</TS>
