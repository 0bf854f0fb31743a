<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>MainScreen</name>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save this entry (Ctrl+S)</source>
        <translation>Diesen Eintrag speichern (Strg+S)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Fi&amp;rst</source>
        <translation>E&amp;rster</translation>
    </message>
    <message>
        <source>&amp;Prev</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>&amp;Letzter</translation>
    </message>
    <message>
        <source>Select a date</source>
        <translation>Ein Datum wählen</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Delete current entry</source>
        <translation>Aktuellen Eintrag löschen</translation>
    </message>
    <message>
        <source>Insert Page Break</source>
        <translation>Seitenumbruch einfügen</translation>
    </message>
    <message>
        <source>Paragraph properties</source>
        <translation>Absatzeigenschaften</translation>
    </message>
    <message>
        <source>Print diary entries</source>
        <translation>Tagebucheinträge drucken</translation>
    </message>
    <message>
        <source>Paste an image into the text</source>
        <translation>Ein Bild in den Text einfügen</translation>
    </message>
    <message>
        <source>Paste a symbol into the text</source>
        <translation>Ein Symbol in den Text einfügen</translation>
    </message>
    <message>
        <source>Show Icon Tool</source>
        <translation>Symbolpalette</translation>
    </message>
    <message>
        <source>Show/hide the icon palette</source>
        <translation>Symbolpalette zeigen oder ausblenden</translation>
    </message>
    <message>
        <source>Toggle word wrap off</source>
        <translation>Zeilenumbruch ausschalten</translation>
    </message>
    <message>
        <source>Toggle word wrap on</source>
        <translation>Zeilenumbruch einschalten</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Quillory! is already running</source>
        <translation>Quillory! läuft bereits</translation>
    </message>
    <message>
        <source>Terminating Quillory!</source>
        <translation>Quillory! wird beendet</translation>
    </message>
</context>
<context>
    <name>quillory::TDateSelector</name>
    <message>
        <source>Select Date</source>
        <translation>Datum wählen</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Days with an entry are marked; arrow keys move by days, Page Up and Page Down by months</source>
        <translation>Tage mit einem Eintrag sind markiert; die Pfeiltasten gehen tageweise, Bild auf und Bild ab monatsweise</translation>
    </message>
</context>
<context>
    <name>quillory::TDefaultFontDialog</name>
    <message>
        <source>Default Font</source>
        <translation>Standardschrift</translation>
    </message>
</context>
<context>
    <name>quillory::TExportProgress</name>
    <message>
        <source>Please wait</source>
        <translation>Bitte warten</translation>
    </message>
</context>
<context>
    <name>quillory::TFloatingPalette</name>
    <message>
        <source>Icons</source>
        <translation>Symbole</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Bonus Icon Sets</source>
        <translation>Weitere Symbolsätze</translation>
    </message>
    <message>
        <source>Other...</source>
        <translation>Andere...</translation>
    </message>
    <message>
        <source>No bonus icon sets were found in the folder BonusIcons.</source>
        <translation>Im Ordner BonusIcons wurden keine weiteren Symbolsätze gefunden.</translation>
    </message>
    <message>
        <source>No icons found in </source>
        <translation>Keine Symbole gefunden in </translation>
    </message>
</context>
<context>
    <name>quillory::TFoundEntries</name>
    <message>
        <source>Entries containing "%1"</source>
        <translation>Einträge mit „%1“</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>quillory::TGetOpeningPassword</name>
    <message>
        <source>Quillory! - Password Required</source>
        <translation>Quillory! - Kennwort erforderlich</translation>
    </message>
    <message>
        <source>Please enter your password and press OK</source>
        <translation>Bitte Kennwort eingeben und OK drücken</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Kennwort</translation>
    </message>
</context>
<context>
    <name>quillory::TGetPassword</name>
    <message>
        <source>Set Up Password</source>
        <translation>Kennwort festlegen</translation>
    </message>
    <message>
        <source>Strong encryption (recommended)</source>
        <translation>Starke Verschlüsselung (empfohlen)</translation>
    </message>
    <message>
        <source>Simple cipher, for diaries shared with older copies</source>
        <translation>Einfache Verschlüsselung, für Tagebücher älterer Versionen</translation>
    </message>
</context>
<context>
    <name>quillory::THelpWindow</name>
    <message>
        <source>Quillory Help</source>
        <translation>Quillory-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>quillory::TImageBrowser</name>
    <message>
        <source>Load Image File  </source>
        <translation>Bilddatei laden  </translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Size in percent</source>
        <translation>Größe in Prozent</translation>
    </message>
    <message>
        <source>Keep all pixels of a large photo</source>
        <translation>Alle Bildpunkte eines großen Fotos behalten</translation>
    </message>
</context>
<context>
    <name>quillory::TLookForAll</name>
    <message>
        <source>Find text from any entry</source>
        <translation>Text in allen Einträgen suchen</translation>
    </message>
</context>
<context>
    <name>quillory::TMainScreen</name>
    <message>
        <source>Quillory diary</source>
        <translation>Quillory-Tagebuch</translation>
    </message>
    <message>
        <source>Diary entry</source>
        <translation>Tagebucheintrag</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>StrikeOut</source>
        <translation>Durchgestrichen</translation>
    </message>
    <message>
        <source>Left Justified</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>Right Justified</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>Justified</source>
        <translation>Blocksatz</translation>
    </message>
    <message>
        <source>Centered</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles markieren</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find and Replace</source>
        <translation>Suchen und Ersetzen</translation>
    </message>
    <message>
        <source>Spell Check</source>
        <translation>Rechtschreibprüfung</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Terminating Quillory!</source>
        <translation>Quillory! wird beendet</translation>
    </message>
    <message>
        <source>Word wrap</source>
        <translation>Zeilenumbruch</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The diary was backed up and checked: %1 in "%2".</source>
        <translation>Das Tagebuch wurde gesichert und geprüft: %1 in „%2“.</translation>
    </message>
    <message>
        <source>Quillory! will close now. Start it again to finish the restore.</source>
        <translation>Quillory! wird jetzt beendet. Starten Sie es erneut, um die Wiederherstellung abzuschließen.</translation>
    </message>
    <message>
        <source>The restored diary has a password of its own. Please enter it.</source>
        <translation>Das wiederhergestellte Tagebuch hat ein eigenes Kennwort. Bitte geben Sie es ein.</translation>
    </message>
    <message>
        <source>Diary Folder...</source>
        <translation>Tagebuchordner...</translation>
    </message>
    <message>
        <source>A portable copy keeps its diary beside the program.</source>
        <translation>Eine portable Kopie hält ihr Tagebuch neben dem Programm.</translation>
    </message>
    <message>
        <source>Diary entry, %1</source>
        <translation>Tagebucheintrag, %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Select or Change Password</source>
        <translation>Kennwort festlegen oder ändern</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Export to RTF (Rich Text Format)</source>
        <translation>Als RTF exportieren (Rich Text Format)</translation>
    </message>
    <message>
        <source>Back Up Diary...</source>
        <translation>Tagebuch sichern...</translation>
    </message>
    <message>
        <source>Restore Diary...</source>
        <translation>Tagebuch wiederherstellen...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Delete Selection</source>
        <translation>Markierung löschen</translation>
    </message>
    <message>
        <source>Save Changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Delete Entry</source>
        <translation>Eintrag löschen</translation>
    </message>
    <message>
        <source>&amp;Spell Check</source>
        <translation>&amp;Rechtschreibprüfung</translation>
    </message>
    <message>
        <source>Insert Today's &amp;Date </source>
        <translation>Heutiges &amp;Datum einfügen </translation>
    </message>
    <message>
        <source>Insert Current Time</source>
        <translation>Aktuelle Uhrzeit einfügen</translation>
    </message>
    <message>
        <source>&amp;Wrap Text to fit Screen</source>
        <translation>Text am Fensterrand &amp;umbrechen</translation>
    </message>
    <message>
        <source>Change Default Font</source>
        <translation>Standardschrift ändern</translation>
    </message>
    <message>
        <source>F&amp;ind</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Find in Current Entry</source>
        <translation>Im aktuellen Eintrag &amp;suchen</translation>
    </message>
    <message>
        <source>&amp;Replace in Current Entry</source>
        <translation>Im aktuellen Eintrag &amp;ersetzen</translation>
    </message>
    <message>
        <source>Find Any Entry Containing...</source>
        <translation>Eintrag suchen mit...</translation>
    </message>
    <message>
        <source>Find Next Entry Containing...</source>
        <translation>Nächsten Eintrag suchen mit...</translation>
    </message>
    <message>
        <source>Find All Entries Containing...</source>
        <translation>Alle Einträge suchen mit...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über Quillory</translation>
    </message>
    <message>
        <source>No printers installed</source>
        <translation>Kein Drucker eingerichtet</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>Find all entries containing</source>
        <translation>Alle Einträge suchen mit</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Dark Page</source>
        <translation>Dunkle Seite</translation>
    </message>
</context>
<context>
    <name>quillory::TParagraphPropDlg</name>
    <message>
        <source>Paragraph Properties</source>
        <translation>Absatzeigenschaften</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Specify spacing before paragraph in points (1 point=1/72 inch)</source>
        <translation>Abstand vor dem Absatz in Punkt (1 Punkt = 1/72 Zoll)</translation>
    </message>
    <message>
        <source>Specify spacing after paragraph in points (1 point=1/72 inch)</source>
        <translation>Abstand nach dem Absatz in Punkt (1 Punkt = 1/72 Zoll)</translation>
    </message>
    <message>
        <source>First indent by</source>
        <translation>Erste Zeile einrücken um</translation>
    </message>
    <message>
        <source>Specify left indent for the paragraph in </source>
        <translation>Linker Einzug des Absatzes in </translation>
    </message>
    <message>
        <source>Specify right indent for the paragraph in </source>
        <translation>Rechter Einzug des Absatzes in </translation>
    </message>
    <message>
        <source>Specify first line indent for the paragraph in </source>
        <translation>Einzug der ersten Zeile in </translation>
    </message>
</context>
<context>
    <name>quillory::TPrintOptions</name>
    <message>
        <source>Print Options</source>
        <translation>Druckoptionen</translation>
    </message>
    <message>
        <source>Print each page separately</source>
        <translation>Jede Seite einzeln drucken</translation>
    </message>
    <message>
        <source>Print each diary entry (day) on its own page</source>
        <translation>Jeden Eintrag (Tag) auf eine eigene Seite drucken</translation>
    </message>
    <message>
        <source>Merge pages </source>
        <translation>Seiten zusammenfassen </translation>
    </message>
    <message>
        <source>Print as many diary entries per page as possible to conserve paper</source>
        <translation>So viele Einträge wie möglich auf eine Seite drucken, um Papier zu sparen</translation>
    </message>
    <message>
        <source>Write the pages into a PDF file instead of printing them</source>
        <translation>Die Seiten in eine PDF-Datei schreiben statt sie zu drucken</translation>
    </message>
</context>
<context>
    <name>quillory::TPrintStatusForm</name>
    <message>
        <source>Print Status</source>
        <translation>Druckstatus</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>quillory::TSaveOptions</name>
    <message>
        <source>Export Options (Export to RTF Format)</source>
        <translation>Exportoptionen (Export als RTF)</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Pick the folder from a list</source>
        <translation>Den Ordner aus einer Liste wählen</translation>
    </message>
    <message>
        <source>Please choose an existing folder to save to</source>
        <translation>Bitte einen vorhandenen Ordner zum Speichern wählen</translation>
    </message>
</context>
<context>
    <name>quillory::TShowOpeningMessage</name>
    <message>
        <source>Quillory!</source>
        <translation>Quillory!</translation>
    </message>
    <message>
        <source>Therefore, it is up to you to make frequent backups: File &gt; "Back Up Diary..." saves the whole diary in one file. The diary is the folder %1, with the entries in its Entries folder and the settings in QL.INI.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Do not show this message again</source>
        <translation>Diese Meldung nicht mehr anzeigen</translation>
    </message>
</context>
<context>
    <name>quillory::TSpellCheckDialog</name>
    <message>
        <source>Spell Check</source>
        <translation>Rechtschreibprüfung</translation>
    </message>
    <message>
        <source>Spell check complete</source>
        <translation>Rechtschreibprüfung abgeschlossen</translation>
    </message>
</context>
<context>
    <name>quillory::TSplashform</name>
    <message>
        <source>About Quillory!</source>
        <translation>Über Quillory!</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Your diary is kept in:</source>
        <translation>Ihr Tagebuch liegt in:</translation>
    </message>
</context>
<context>
    <name>quillory::TSymbolSelector</name>
    <message>
        <source>Symbol Selector</source>
        <translation>Symbolauswahl</translation>
    </message>
    <message>
        <source>Select a symbol font set</source>
        <translation>Eine Symbolschrift wählen</translation>
    </message>
    <message>
        <source>Symbols</source>
        <translation>Symbole</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Copy the selected symbol to the label</source>
        <translation>Das gewählte Symbol übernehmen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>quillory::TWPFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Aufwärts</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>A&amp;bwärts</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Nur &amp;ganze Wörter</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>Suchen nach</translation>
    </message>
</context>
<context>
    <name>quillory::TWPReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>&amp;Alle ersetzen</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>Ersetzen &amp;durch:</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Ersetzen durch</translation>
    </message>
    <message numerus="yes">
        <source>%n replacement(s) made.</source>
        <translation><numerusform>%n Ersetzung vorgenommen.</numerusform><numerusform>%n Ersetzungen vorgenommen.</numerusform></translation>
    </message>
</context>
<context>
    <name>quillory::TWarningScreen</name>
    <message>
        <source>Warning!</source>
        <translation>Warnung!</translation>
    </message>
    <message>
        <source>-QL.INI, in the diary folder %1</source>
        <translation type="unfinished" />
    </message>
</context>
</TS>