<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DuplicateCheck</name>
    <message>
        <source>%1: %2 and %3</source>
        <translation>%1: %2 und %3</translation>
    </message>
</context>
<context>
    <name>JournalFile</name>
    <message>
        <source>the disk that holds %1 is full: the history needs %2 KB more there. Free that much on that disk (empty the trash, for one) and try again.</source>
        <translation>die Platte mit %1 ist voll: der Verlauf braucht dort noch %2 KB. Geben Sie so viel auf dieser Platte frei (leeren Sie etwa den Papierkorb) und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>the folder %1 could not be made. Check that its parent folders are folders you may write in.</source>
        <translation>der Ordner %1 konnte nicht angelegt werden. Prüfen Sie, ob die Ordner darüber Ordner sind, in die Sie schreiben dürfen.</translation>
    </message>
    <message>
        <source>the folder %1 could not be made: %2.</source>
        <translation>der Ordner %1 konnte nicht angelegt werden: %2.</translation>
    </message>
    <message>
        <source>the folder %1 could not be read: %2.</source>
        <translation>der Ordner %1 konnte nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1 is a link, not a folder. Pellory writes its history only into a folder of its own: remove the link, and Pellory makes the folder anew.</source>
        <translation>%1 ist eine Verknüpfung, kein Ordner. Pellory schreibt seinen Verlauf nur in einen eigenen Ordner: entfernen Sie die Verknüpfung, dann legt Pellory den Ordner neu an.</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder. Move the file away or delete it, and Pellory makes the folder anew.</source>
        <translation>%1 ist eine Datei, kein Ordner. Verschieben oder löschen Sie die Datei, dann legt Pellory den Ordner neu an.</translation>
    </message>
    <message>
        <source>the folder %1 belongs to another user. Remove it, and Pellory makes it anew as yours.</source>
        <translation>der Ordner %1 gehört einem anderen Benutzer. Entfernen Sie ihn, dann legt Pellory ihn neu als Ihren an.</translation>
    </message>
</context>
<context>
    <name>LiveNameJob</name>
    <message>
        <source>Clashes with the new name of &quot;%1&quot;</source>
        <translation>Kollidiert mit dem neuen Namen von „%1“</translation>
    </message>
    <message>
        <source>Clashes with &quot;%1&quot;, which keeps its name</source>
        <translation>Kollidiert mit „%1“, das seinen Namen behält</translation>
    </message>
    <message>
        <source>Clashes with &quot;%1&quot;, which has this name until it is renamed later</source>
        <translation>Kollidiert mit „%1“, das diesen Namen trägt, bis es später umbenannt wird</translation>
    </message>
</context>
<context>
    <name>Rename</name>
    <message>
        <source> (the file is kept as &quot;%1&quot;)</source>
        <translation> (die Datei bleibt als „%1“ erhalten)</translation>
    </message>
    <message>
        <source>The old name is not a name in the folder</source>
        <translation>Der alte Name ist kein Name im Ordner</translation>
    </message>
    <message>
        <source>The new name may not be empty</source>
        <translation>Der neue Name darf nicht leer sein</translation>
    </message>
    <message>
        <source>The new name may not be &quot;%1&quot;</source>
        <translation>Der neue Name darf nicht „%1“ sein</translation>
    </message>
    <message>
        <source>The new name may not contain &quot;/&quot;</source>
        <translation>Der neue Name darf kein „/“ enthalten</translation>
    </message>
    <message>
        <source>The new name may not contain a NUL character</source>
        <translation>Der neue Name darf kein NUL-Zeichen enthalten</translation>
    </message>
    <message>
        <source>The new name may not be longer than %1 bytes</source>
        <translation>Der neue Name darf nicht länger als %1 Byte sein</translation>
    </message>
    <message>
        <source>The new name is not valid text</source>
        <translation>Der neue Name ist kein gültiger Text</translation>
    </message>
</context>
<context>
    <name>RunHistory</name>
    <message>
        <source>Another Pellory window is undoing this run now.</source>
        <translation>Ein anderes Pellory-Fenster macht diesen Vorgang gerade rückgängig.</translation>
    </message>
    <message>
        <source>The undo history could not be written: </source>
        <translation>Der Rückgängig-Verlauf konnte nicht geschrieben werden: </translation>
    </message>
</context>
<context>
    <name>SchemeWalk</name>
    <message>
        <source>The counter would pass %1 before the last file with these settings. Nothing was renamed.</source>
        <translation>Mit diesen Einstellungen würde der Zähler vor der letzten Datei %1 überschreiten. Es wurde nichts umbenannt.</translation>
    </message>
</context>
<context>
    <name>StoredSettings</name>
    <message>
        <source>The settings could not be written to %1.</source>
        <translation>Die Einstellungen konnten nicht in %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>the file is gone</source>
        <translation>die Datei ist nicht mehr vorhanden</translation>
    </message>
    <message>
        <source>the old name is taken</source>
        <translation>der alte Name ist schon vergeben</translation>
    </message>
    <message>
        <source>This run was recorded by a newer version of Pellory.</source>
        <translation>Dieser Vorgang wurde von einer neueren Version von Pellory aufgezeichnet.</translation>
    </message>
    <message>
        <source>This run is still under way in another Pellory window.</source>
        <translation>Dieser Vorgang läuft noch in einem anderen Pellory-Fenster.</translation>
    </message>
    <message>
        <source>The folder of this run, %1, is gone.</source>
        <translation>Der Ordner dieses Vorgangs, %1, ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>The files of this run were in %1, but that folder has been moved or replaced since. Nothing was put back.</source>
        <translation>Die Dateien dieses Vorgangs lagen in %1, doch dieser Ordner wurde inzwischen verschoben oder ersetzt. Es wurde nichts zurückbenannt.</translation>
    </message>
    <message>
        <source>another file has this name now</source>
        <translation>eine andere Datei trägt jetzt diesen Namen</translation>
    </message>
</context>
<context>
    <name>WildcardRename</name>
    <message>
        <source>Cannot rename &quot;%1&quot; to &quot;%2&quot;.

%3</source>
        <translation>„%1“ kann nicht in „%2“ umbenannt werden.

%3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; would get the same name.</source>
        <translation>„%1“ würde denselben Namen erhalten.</translation>
    </message>
    <message>
        <source>An entry of that name is already in the folder.</source>
        <translation>Im Ordner gibt es schon einen Eintrag mit diesem Namen.</translation>
    </message>
    <message>
        <source>File specifications and wildcard patterns name files, not folders: &quot;%1&quot; renames nothing.</source>
        <translation>Dateimuster und Platzhalter-Muster bezeichnen Dateien, keine Ordner: „%1“ benennt nichts um.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be read.</source>
        <translation>Der Ordner „%1“ kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>An error occurred renaming &quot;%1&quot; to &quot;%2&quot;.

%3</source>
        <translation>Beim Umbenennen von „%1“ in „%2“ ist ein Fehler aufgetreten.

%3</translation>
    </message>
    <message>
        <source>

&quot;%1&quot; is kept as &quot;%2&quot;.</source>
        <translation>

„%1“ bleibt als „%2“ erhalten.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Renames many files of a folder at once, with a counter and a prefix or with a wildcard pattern.</source>
        <translation>Benennt viele Dateien eines Ordners auf einmal um, mit Zähler und Präfix oder mit einem Platzhalter-Muster.</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>ordner</translation>
    </message>
    <message>
        <source>The folder to open in place of the last one; a file opens its folder.</source>
        <translation>Der Ordner, der statt des zuletzt benutzten geöffnet wird; eine Datei öffnet ihren Ordner.</translation>
    </message>
    <message>
        <source>[FOLDER]</source>
        <translation>[ORDNER]</translation>
    </message>
    <message>
        <source>pellory: one folder at a time</source>
        <translation>pellory: nur ein Ordner auf einmal</translation>
    </message>
</context>
<context>
    <name>pellory::ControlStates</name>
    <message>
        <source>Pellory - Wildcard Error</source>
        <translation>Pellory - Platzhalterfehler</translation>
    </message>
    <message>
        <source>File Specs cannot include multiple search specs when using &apos;Wildcard Rename&apos;</source>
        <translation>Für „Umbenennen in“ darf das Dateimuster nicht mehrere Suchmuster enthalten</translation>
    </message>
    <message>
        <source>File Specs must include wildcards when using &apos;Wildcard Rename&apos;</source>
        <translation>Für „Umbenennen in“ muss das Dateimuster Platzhalter enthalten</translation>
    </message>
</context>
<context>
    <name>pellory::FilePane</name>
    <message>
        <source>File specifications name files, not folders: &quot;%1&quot; lists nothing.</source>
        <translation>Dateimuster bezeichnen Dateien, keine Ordner: „%1“ listet nichts auf.</translation>
    </message>
    <message>
        <source>&amp;Undo Last Rename</source>
        <translation>Letzte Umbenennung &amp;rückgängig machen</translation>
    </message>
    <message>
        <source>Undo &amp;History...</source>
        <translation>Rückgängig-&amp;Verlauf …</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>New Name</source>
        <translation>Neuer Name</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Selects files beginning at current selected file</source>
        <translation>Wählt Dateien ab der aktuell ausgewählten Datei aus</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Type a folder and press Enter to open it</source>
        <translation>Einen Ordner eingeben und mit der Eingabetaste öffnen</translation>
    </message>
    <message>
        <source>Folder path</source>
        <translation>Ordnerpfad</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Sort Files &amp;by : </source>
        <translation>&amp;Sortierung: </translation>
    </message>
    <message>
        <source>Select sorting order</source>
        <translation>Sortierreihenfolge wählen</translation>
    </message>
    <message>
        <source>Select files &amp;every</source>
        <translation>Auswahl &amp;alle</translation>
    </message>
    <message>
        <source>Select every N positions</source>
        <translation>Jede n-te Stelle auswählen</translation>
    </message>
    <message>
        <source>positions</source>
        <translation>Stellen</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Preview of new names</source>
        <translation>Vorschau der neuen Namen</translation>
    </message>
    <message>
        <source>File specs to act &amp;on : </source>
        <translation>&amp;Dateimuster: </translation>
    </message>
    <message>
        <source>Enter file specs (wildcards) to act on</source>
        <translation>Dateimuster (mit Platzhaltern) der zu bearbeitenden Dateien eingeben</translation>
    </message>
    <message>
        <source>File specs</source>
        <translation>Dateimuster</translation>
    </message>
    <message>
        <source>Name (A to Z)</source>
        <translation>Name (A → Z)</translation>
    </message>
    <message>
        <source>Name (Z to A)</source>
        <translation>Name (Z → A)</translation>
    </message>
    <message>
        <source>Ext (A to Z)</source>
        <translation>Typ (A → Z)</translation>
    </message>
    <message>
        <source>Ext (Z to A)</source>
        <translation>Typ (Z → A)</translation>
    </message>
    <message>
        <source>Date (Old to New)</source>
        <translation>Datum (alt → neu)</translation>
    </message>
    <message>
        <source>Date (New to Old)</source>
        <translation>Datum (neu → alt)</translation>
    </message>
    <message>
        <source>%1 does not answer.</source>
        <translation>%1 antwortet nicht.</translation>
    </message>
    <message>
        <source>%1 is not a folder Pellory can open.</source>
        <translation>%1 ist kein Ordner, den Pellory öffnen kann.</translation>
    </message>
    <message>
        <source>No files match %1 in this folder</source>
        <translation>Keine Datei in diesem Ordner passt zu %1</translation>
    </message>
    <message>
        <source>Taken (Old to New)</source>
        <translation>Aufnahme (alt → neu)</translation>
    </message>
    <message>
        <source>Taken (New to Old)</source>
        <translation>Aufnahme (neu → alt)</translation>
    </message>
    <message>
        <source>Taken</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Rename companion files</source>
        <translation>Begleitdateien umbenennen</translation>
    </message>
    <message>
        <source>Give the RAW, JPEG and sidecar files that go with each renamed file its new name</source>
        <translation>Den RAW-, JPEG- und Sidecar-Dateien jeder umbenannten Datei deren neuen Namen geben</translation>
    </message>
</context>
<context>
    <name>pellory::FolderSelector</name>
    <message>
        <source>Show Hidden Folders</source>
        <translation>Versteckte Ordner anzeigen</translation>
    </message>
</context>
<context>
    <name>pellory::LiveNames</name>
    <message>
        <source>No new names: the counter would pass %1 before the last file.</source>
        <translation>Keine neuen Namen: Der Zähler würde vor der letzten Datei %1 überschreiten.</translation>
    </message>
</context>
<context>
    <name>pellory::Main</name>
    <message>
        <source>The Pellory guide is not installed. It belongs in</source>
        <translation>Die Pellory-Anleitung ist nicht installiert. Sie gehört nach</translation>
    </message>
    <message>
        <source>No program could open the Pellory guide. Open it in a web browser:</source>
        <translation>Kein Programm konnte die Pellory-Anleitung öffnen. Öffnen Sie sie in einem Webbrowser:</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Trennlinie</translation>
    </message>
    <message>
        <source>Your settings could not be saved, so they will not be restored at the next start.</source>
        <translation>Ihre Einstellungen konnten nicht gespeichert werden und werden daher beim nächsten Start nicht wiederhergestellt.</translation>
    </message>
    <message>
        <source>Pellory - Error</source>
        <translation>Pellory - Fehler</translation>
    </message>
    <message>
        <source>Reading capture times: %1 of %2</source>
        <translation>Aufnahmezeiten werden gelesen: %1 von %2</translation>
    </message>
</context>
<context>
    <name>pellory::NameListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>No capture time: the modification time is used</source>
        <translation>Keine Aufnahmezeit: die Änderungszeit wird verwendet</translation>
    </message>
</context>
<context>
    <name>pellory::NamingPanel</name>
    <message>
        <source>Name &amp;Format: </source>
        <translation>Schreib&amp;weise: </translation>
    </message>
    <message>
        <source>Wild&amp;card Rename : </source>
        <translation>U&amp;mbenennen in: </translation>
    </message>
    <message>
        <source>Rename files using wildcards</source>
        <translation>Dateien mit Platzhaltern umbenennen</translation>
    </message>
    <message>
        <source>Wildcard rename pattern</source>
        <translation>Muster für das Umbenennen mit Platzhaltern</translation>
    </message>
    <message>
        <source>Batch rename settings</source>
        <translation>Einstellungen der Stapelumbenennung</translation>
    </message>
    <message>
        <source>Enable Batch &amp;Rename</source>
        <translation>Stapel&amp;umbenennung</translation>
    </message>
    <message>
        <source>Check to enable batch renaming</source>
        <translation>Ankreuzen, um die Stapelumbenennung einzuschalten</translation>
    </message>
    <message>
        <source>Characters to &amp;keep from left : </source>
        <translation>&amp;Zeichen von links behalten: </translation>
    </message>
    <message>
        <source>Enter a number</source>
        <translation>Eine Zahl eingeben</translation>
    </message>
    <message>
        <source>Characters to keep from left</source>
        <translation>Zeichen von links behalten</translation>
    </message>
    <message>
        <source>&amp;Prefix : </source>
        <translation>&amp;Präfix: </translation>
    </message>
    <message>
        <source>Enter prefix text</source>
        <translation>Text für das Präfix eingeben</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <source>&amp;Starting # : </source>
        <translation>S&amp;tartwert #: </translation>
    </message>
    <message>
        <source>Enter padded numbers</source>
        <translation>Zahl mit führenden Nullen eingeben</translation>
    </message>
    <message>
        <source>Starting value</source>
        <translation>Startwert</translation>
    </message>
    <message>
        <source>Trim</source>
        <translation>Kurz</translation>
    </message>
    <message>
        <source>Check to trim zeros</source>
        <translation>Ankreuzen, um führende Nullen wegzulassen</translation>
    </message>
    <message>
        <source>&amp;Increment : </source>
        <translation>Sc&amp;hrittweite: </translation>
    </message>
    <message>
        <source>Enter increment value</source>
        <translation>Schrittweite eingeben</translation>
    </message>
    <message>
        <source>Increment</source>
        <translation>Schrittweite</translation>
    </message>
    <message>
        <source>Alpha</source>
        <translation>ABC</translation>
    </message>
    <message>
        <source>Check to use characters</source>
        <translation>Ankreuzen, um mit Buchstaben zu zählen</translation>
    </message>
    <message>
        <source>&amp;Leading : </source>
        <translation>Su&amp;ffix: </translation>
    </message>
    <message>
        <source>Enter leading text</source>
        <translation>Text nach dem Zähler eingeben</translation>
    </message>
    <message>
        <source>Leading text</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>Extension</source>
        <translation>Erweiterung</translation>
    </message>
    <message>
        <source>New e&amp;xt : </source>
        <translation>&amp;Neue: </translation>
    </message>
    <message>
        <source>Select or type in new file extension</source>
        <translation>Neue Dateierweiterung wählen oder eingeben</translation>
    </message>
    <message>
        <source>Use First Occurrence</source>
        <translation>Ab dem ersten Punkt</translation>
    </message>
    <message>
        <source>Act on first occurrence of file extension</source>
        <translation>Die Erweiterung beginnt beim ersten Punkt des Namens</translation>
    </message>
    <message>
        <source>Use Last Occurrence</source>
        <translation>Ab dem letzten Punkt</translation>
    </message>
    <message>
        <source>Do Not Use File Extension</source>
        <translation>Keine Erweiterung</translation>
    </message>
    <message>
        <source>Leave as is</source>
        <translation>Unverändert</translation>
    </message>
    <message>
        <source>all lower case</source>
        <translation>alles klein</translation>
    </message>
    <message>
        <source>ALL UPPER CASE</source>
        <translation>ALLES GROSS</translation>
    </message>
    <message>
        <source>Normal Formatted</source>
        <translation>Wortanfänge Groß</translation>
    </message>
    <message>
        <source>Keep as is</source>
        <translation>Beibehalten</translation>
    </message>
    <message>
        <source>Remove ext</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>&amp;Starting @ : </source>
        <translation>S&amp;tartwert @: </translation>
    </message>
    <message>
        <source>Put the date the photo was taken (else the date the file was last changed) after the prefix</source>
        <translation>Das Aufnahmedatum des Fotos (sonst das Datum der letzten Änderung der Datei) hinter das Präfix setzen</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keins)</translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <translation>JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>YYYYMMDD</source>
        <translation>JJJJMMTT</translation>
    </message>
    <message>
        <source>YYYY-MM-DD_hh-mm-ss</source>
        <translation>JJJJ-MM-TT_hh-mm-ss</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>Ta&amp;g:</translation>
    </message>
</context>
<context>
    <name>pellory::RunButtons</name>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation>Nach %1 von %2 Dateien angehalten.</translation>
    </message>
    <message>
        <source>Every file already has its new name: nothing was renamed.</source>
        <translation>Jede Datei hat schon ihren neuen Namen: Es wurde nichts umbenannt.</translation>
    </message>
    <message>
        <source>1 file renamed.</source>
        <translation>1 Datei umbenannt.</translation>
    </message>
    <message>
        <source>%1 files renamed.</source>
        <translation>%1 Dateien umbenannt.</translation>
    </message>
    <message>
        <source> Ctrl+Alt+Z undoes it.</source>
        <translation> Strg+Alt+Z macht es rückgängig.</translation>
    </message>
    <message>
        <source>Previe&amp;w and Check for Errors</source>
        <translation>&amp;Vorschau und Fehlerprüfung</translation>
    </message>
    <message>
        <source>Click to preview</source>
        <translation>Klicken für die Vorschau</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>Click to apply</source>
        <translation>Klicken zum Übernehmen</translation>
    </message>
    <message>
        <source>Exi&amp;t</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>Click to exit</source>
        <translation>Klicken zum Beenden</translation>
    </message>
    <message>
        <source>Renaming files...</source>
        <translation>Dateien werden umbenannt …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1 of %2 files renamed</source>
        <translation>%1 von %2 Dateien umbenannt</translation>
    </message>
    <message>
        <source>E&amp;xit Preview</source>
        <translation>&amp;Vorschau verlassen</translation>
    </message>
    <message>
        <source>Click to exit preview mode</source>
        <translation>Klicken, um die Vorschau zu verlassen</translation>
    </message>
    <message>
        <source>The capture times sorted the list anew: check the selection, then try again.</source>
        <translation>Die Aufnahmezeiten haben die Liste neu sortiert: Bitte die Auswahl prüfen und es noch einmal versuchen.</translation>
    </message>
</context>
<context>
    <name>pellory::RunController</name>
    <message>
        <source>These settings will produce duplicate file names!!!</source>
        <translation>Diese Einstellungen ergeben doppelte Dateinamen!</translation>
    </message>
    <message>
        <source>The new name of &quot;%1&quot;, &quot;%2&quot;, cannot be used: %3.</source>
        <translation>Der neue Name von „%1“, „%2“, ist nicht möglich: %3.</translation>
    </message>
    <message>
        <source>Pellory - Error</source>
        <translation>Pellory - Fehler</translation>
    </message>
    <message>
        <source>An error occurred renaming the file : </source>
        <translation>Beim Umbenennen der Datei ist ein Fehler aufgetreten: </translation>
    </message>
    <message>
        <source>The file&apos;s name is %1.
%2 of %3 files were renamed before this one. Ctrl+Alt+Z puts them back.</source>
        <translation>Die Datei heißt %1.
%2 von %3 Dateien wurden vor ihr umbenannt. Strg+Alt+Z benennt sie zurück.</translation>
    </message>
    <message>
        <source>Renaming</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Pellory - Wildcard Error</source>
        <translation>Pellory - Platzhalterfehler</translation>
    </message>
    <message>
        <source>Undoing</source>
        <translation>Rückgängig machen</translation>
    </message>
    <message>
        <source>The drive of this run, %1, does not answer. Nothing was put back: try again once the drive answers (a USB stick may need to be plugged in again).</source>
        <translation>Das Laufwerk dieses Vorgangs, %1, antwortet nicht. Nichts wurde zurückbenannt: versuchen Sie es erneut, sobald das Laufwerk antwortet (ein USB-Stick muss dafür vielleicht neu eingesteckt werden).</translation>
    </message>
</context>
<context>
    <name>pellory::StatusLine</name>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1, %2 selected</source>
        <translation>%1, %2 ausgewählt</translation>
    </message>
    <message>
        <source>%1 %2 of %3... Esc or Exit stops it.</source>
        <translation>%1: %2 von %3 … Esc oder „Beenden“ hält an.</translation>
    </message>
</context>
<context>
    <name>pellory::UndoCommands</name>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>… und %1 weitere</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>The last rename run was interrupted.</source>
        <translation>Die letzte Umbenennung wurde unterbrochen.</translation>
    </message>
    <message>
        <source>Undo the rename of %1? %2 in %3 will go back to its old name.</source>
        <translation>Die Umbenennung vom %1 rückgängig machen? %2 in %3 erhält ihren alten Namen zurück.</translation>
    </message>
    <message>
        <source>Undo the rename of %1? %2 in %3 will go back to their old names.</source>
        <translation>Die Umbenennung vom %1 rückgängig machen? %2 in %3 erhalten ihre alten Namen zurück.</translation>
    </message>
    <message>
        <source>Undo %1 runs in %2, back to the one of %3? %4 will be renamed back, newest run first.</source>
        <translation>%1 Vorgänge in %2 rückgängig machen, bis zu dem vom %3? Zurückbenannt werden %4, der neueste Vorgang zuerst.</translation>
    </message>
    <message>
        <source>Pellory - Undo</source>
        <translation>Pellory - Rückgängig</translation>
    </message>
    <message>
        <source>There is no rename to undo.</source>
        <translation>Es gibt keine Umbenennung, die rückgängig gemacht werden kann.</translation>
    </message>
    <message>
        <source>Undo stopped after %1 of %2 files.</source>
        <translation>Rückgängig machen nach %1 von %2 Dateien angehalten.</translation>
    </message>
    <message>
        <source>Undo put back %1.</source>
        <translation>Zurückbenannt: %1.</translation>
    </message>
    <message>
        <source>The last undo in %1 stopped after %2 of %3 files</source>
        <translation>Das letzte Rückgängigmachen in %1 brach nach %2 von %3 Dateien ab</translation>
    </message>
    <message>
        <source>The last rename in %1 stopped after %2 of %3 files</source>
        <translation>Die letzte Umbenennung in %1 brach nach %2 von %3 Dateien ab</translation>
    </message>
    <message>
        <source>%1 of %2 files got their old names back. These were left as they are, and nothing was overwritten; once you have seen to them, Ctrl+Alt+Z tries them again:</source>
        <translation>%1 von %2 Dateien haben ihre alten Namen zurückerhalten. Diese blieben, wie sie sind, überschrieben wurde nichts; sobald Sie sich um sie gekümmert haben, versucht Strg+Alt+Z sie erneut:</translation>
    </message>
    <message>
        <source>The record of this run is damaged: its end says it renamed %1, but it names %2.</source>
        <translation>Die Aufzeichnung dieses Vorgangs ist beschädigt: ihr Ende nennt %1 umbenannt, sie selbst nennt aber %2.</translation>
    </message>
    <message>
        <source>The record of this run is damaged: only the files its intact lines name can go back.</source>
        <translation>Die Aufzeichnung dieses Vorgangs ist beschädigt: nur die Dateien, die ihre unversehrten Zeilen nennen, können zurück.</translation>
    </message>
    <message>
        <source>The record of the run in %1 is damaged: none of its renames can be read, so nothing can be put back. Its file is %2; delete it to take the run out of the history.</source>
        <translation>Die Aufzeichnung des Vorgangs in %1 ist beschädigt: keine ihrer Umbenennungen ist lesbar, daher kann nichts zurückbenannt werden. Ihre Datei ist %2; löschen Sie sie, um den Vorgang aus dem Verlauf zu nehmen.</translation>
    </message>
    <message>
        <source>The drive of the last run does not answer.</source>
        <translation>Das Laufwerk des letzten Vorgangs antwortet nicht.</translation>
    </message>
</context>
<context>
    <name>pellory::UndoHistoryDialog</name>
    <message>
        <source>recorded by a newer Pellory</source>
        <translation>von einem neueren Pellory aufgezeichnet</translation>
    </message>
    <message>
        <source>put back parked files</source>
        <translation>zwischengeparkte Dateien zurückbenannt</translation>
    </message>
    <message>
        <source>undo</source>
        <translation>Rückgängigmachen</translation>
    </message>
    <message>
        <source>undone</source>
        <translation>rückgängig gemacht</translation>
    </message>
    <message>
        <source>under way</source>
        <translation>läuft</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>unterbrochen</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>beschädigt</translation>
    </message>
    <message>
        <source>Pellory - Undo History</source>
        <translation>Pellory - Rückgängig-Verlauf</translation>
    </message>
    <message>
        <source>Runs, newest first</source>
        <translation>Vorgänge, neueste zuerst</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Wann</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Renames</source>
        <translation>Umbenennungen</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>&amp;Undo Back to This Run</source>
        <translation>Bis zu diesem Vorgang &amp;rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Ordner öffnen</translation>
    </message>
    <message>
        <source>partly undone (1 file left)</source>
        <translation>teilweise rückgängig (1 Datei übrig)</translation>
    </message>
    <message>
        <source>partly undone (%1 files left)</source>
        <translation>teilweise rückgängig (%1 Dateien übrig)</translation>
    </message>
</context>
</TS>
