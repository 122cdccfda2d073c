<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>filedlg</name>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Beschreibung:</translation>
    </message>
    <message>
        <source>Up to %1 letters or digits (also + - _), no blanks: it names the album file and its picture folder.</source>
        <translation>Bis zu %1 Buchstaben oder Ziffern (auch + - _), keine Leerzeichen: daraus werden die Namen der Albumdatei und ihres Bilderordners.</translation>
    </message>
    <message>
        <source>Album Path</source>
        <translation>Albumpfad</translation>
    </message>
    <message>
        <source>Create &amp;Album</source>
        <translation>&amp;Album anlegen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <source>Open an Album</source>
        <translation>Ein Album öffnen</translation>
    </message>
    <message>
        <source>Open &amp;Album</source>
        <translation>&amp;Album öffnen</translation>
    </message>
    <message>
        <source>Create a New Album</source>
        <translation>Ein neues Album anlegen</translation>
    </message>
    <message>
        <source>Rename Album &apos;</source>
        <translation>Album umbenennen: &apos;</translation>
    </message>
    <message>
        <source>Rename &amp;Album</source>
        <translation>&amp;Album umbenennen</translation>
    </message>
    <message>
        <source>Album <byte value="xd"/></source>
        <translation>Album <byte value="xd"/></translation>
    </message>
    <message>
        <source><byte value="xd"/>Already Exists.</source>
        <translation><byte value="xd"/>gibt es schon.</translation>
    </message>
    <message>
        <source>Name is Invalid</source>
        <translation>Der Name ist ungültig</translation>
    </message>
    <message>
        <source>Description is Invalid</source>
        <translation>Die Beschreibung ist ungültig</translation>
    </message>
    <message>
        <source>Make Directory - ERROR</source>
        <translation>Ordner anlegen - FEHLER</translation>
    </message>
    <message>
        <source>Rename - ERROR</source>
        <translation>Umbenennen - FEHLER</translation>
    </message>
</context>
<context>
    <name>folderbrowser</name>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>/ (root)</source>
        <translation>/ (Wurzel)</translation>
    </message>
    <message>
        <source>Drive - ERROR</source>
        <translation>Laufwerk - FEHLER</translation>
    </message>
</context>
<context>
    <name>helpviewer</name>
    <message>
        <source>Vimbrel Help</source>
        <translation>Vimbrel-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Vimbrel looked for &lt;b&gt;vimbra.hlp&lt;/b&gt; in its own folder (%1) and in &lt;b&gt;share/vimbrel&lt;/b&gt; of its installation, and found it in neither.</source>
        <translation>Vimbrel hat &lt;b&gt;vimbra.hlp&lt;/b&gt; im eigenen Ordner (%1) und in &lt;b&gt;share/vimbrel&lt;/b&gt; seiner Installation gesucht und an keiner der beiden Stellen gefunden.</translation>
    </message>
    <message>
        <source>The file &lt;b&gt;%1&lt;/b&gt; could not be read.</source>
        <translation>Die Datei &lt;b&gt;%1&lt;/b&gt; konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>&lt;h2 style=&quot;color:#2f4a7d&quot;&gt;The help is not available&lt;/h2&gt;&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Reinstalling Vimbrel puts the help file back in its place.&lt;/p&gt;</source>
        <translation>&lt;h2 style=&quot;color:#2f4a7d&quot;&gt;Die Hilfe ist nicht verfügbar&lt;/h2&gt;&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Wenn Sie Vimbrel neu installieren, liegt die Hilfedatei wieder an ihrem Platz.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>impimg</name>
    <message>
        <source>Import Images</source>
        <translation>Bilder importieren</translation>
    </message>
    <message>
        <source>Also Import the Pictures in Sub-Folders?</source>
        <translation>Auch die Bilder in Unterordnern importieren?</translation>
    </message>
    <message>
        <source>No Pictures to Import</source>
        <translation>Keine Bilder zum Importieren</translation>
    </message>
    <message>
        <source>Import Images - Error</source>
        <translation>Bilder importieren - Fehler</translation>
    </message>
    <message>
        <source>Import Image</source>
        <translation>Bild importieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Delete Source After Import?</source>
        <translation>Quelle nach dem Import löschen?</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>&amp;Memory Card Path</source>
        <translation>&amp;Speicherkartenpfad</translation>
    </message>
    <message>
        <source>Open this folder whenever pictures are imported</source>
        <translation>Diesen Ordner bei jedem Bildimport öffnen</translation>
    </message>
    <message>
        <source>&amp;Return</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Drive - ERROR</source>
        <translation>Laufwerk - FEHLER</translation>
    </message>
    <message>
        <source>Load Image Error</source>
        <translation>Fehler beim Laden des Bildes</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Memory Card Path</source>
        <translation>Speicherkartenpfad</translation>
    </message>
    <message>
        <source>Make <byte value="xd"/></source>
        <translation>Setze <byte value="xd"/></translation>
    </message>
    <message>
        <source><byte value="xd"/>The Memory Card Path</source>
        <translation><byte value="xd"/>als Speicherkartenpfad</translation>
    </message>
    <message>
        <source>Please Select Images</source>
        <translation>Bitte Bilder auswählen</translation>
    </message>
    <message>
        <source>Import cancelled</source>
        <translation>Import abgebrochen</translation>
    </message>
    <message>
        <source>The picture cannot be stored as JPEG</source>
        <translation>Das Bild kann nicht als JPEG gespeichert werden</translation>
    </message>
    <message>
        <source>Picture too large (%1 x %2 pixels, at most 32767 a side)</source>
        <translation>Bild zu groß (%1 x %2 Pixel, höchstens 32767 je Seite)</translation>
    </message>
    <message>
        <source>Can Not Add Selected Images.<byte value="xd"/>Album Can Only Have </source>
        <translation>Die ausgewählten Bilder können nicht hinzugefügt werden.<byte value="xd"/>Das Album kann nur </translation>
    </message>
    <message>
        <source> Images.</source>
        <translation> Bilder enthalten.</translation>
    </message>
    <message>
        <source>Not a picture file (a pipe or device)</source>
        <translation>Keine Bilddatei (eine Pipe oder ein Gerät)</translation>
    </message>
    <message>
        <source>Not a %1 picture</source>
        <translation>Kein %1-Bild</translation>
    </message>
    <message>
        <source>Not a JPEG, GIF or BMP file name</source>
        <translation>Kein JPEG-, GIF- oder BMP-Dateiname</translation>
    </message>
    <message>
        <source><byte value="xd"/>From FILE: </source>
        <translation><byte value="xd"/>Von DATEI: </translation>
    </message>
    <message>
        <source><byte value="xd"/>  To FILE: </source>
        <translation><byte value="xd"/>  Nach DATEI: </translation>
    </message>
    <message>
        <source>Import Image - Load Error</source>
        <translation>Bild importieren - Ladefehler</translation>
    </message>
    <message>
        <source>Album Directory is FULL<byte value="xd"/>Import Cancelled.</source>
        <translation>Der Albumordner ist VOLL<byte value="xd"/>Import abgebrochen.</translation>
    </message>
    <message>
        <source>Import Image - Copy Error</source>
        <translation>Bild importieren - Kopierfehler</translation>
    </message>
    <message>
        <source>Picture too large (%1 x %2 pixels)</source>
        <translation>Bild zu groß (%1 x %2 Pixel)</translation>
    </message>
    <message>
        <source>Premature end of PNG file</source>
        <translation>Vorzeitiges Ende der PNG-Datei</translation>
    </message>
    <message>
        <source>Unreadable picture header</source>
        <translation>Unlesbarer Bildkopf</translation>
    </message>
    <message>
        <source>Unreadable picture</source>
        <translation>Unlesbares Bild</translation>
    </message>
    <message>
        <source>Not a picture format the import converts</source>
        <translation>Kein Bildformat, das der Import umwandelt</translation>
    </message>
    <message>
        <source>Premature end of JPEG file</source>
        <translation>Vorzeitiges Ende der JPEG-Datei</translation>
    </message>
    <message>
        <source>Premature end of BMP file</source>
        <translation>Vorzeitiges Ende der BMP-Datei</translation>
    </message>
    <message>
        <source>%1 of %2 copied</source>
        <translation>%1 von %2 kopiert</translation>
    </message>
    <message>
        <source>0 of %1 copied</source>
        <translation>0 von %1 kopiert</translation>
    </message>
    <message>
        <source><byte value="xd"/>FILE: </source>
        <translation><byte value="xd"/>DATEI: </translation>
    </message>
</context>
<context>
    <name>pbox</name>
    <message>
        <source>Photo Box</source>
        <translation>Fotokiste</translation>
    </message>
    <message>
        <source>Photos:</source>
        <translation>Fotos:</translation>
    </message>
    <message>
        <source>Selected:</source>
        <translation>Ausgewählt:</translation>
    </message>
    <message>
        <source>Select All / None</source>
        <translation>Alle / keine auswählen</translation>
    </message>
    <message>
        <source>Delete Photo/s</source>
        <translation>Foto/s löschen</translation>
    </message>
    <message>
        <source>Hide Photo Box</source>
        <translation>Fotokiste ausblenden</translation>
    </message>
    <message>
        <source>Delete Photo/s?</source>
        <translation>Foto/s löschen?</translation>
    </message>
    <message>
        <source>File - ERROR</source>
        <translation>Datei - FEHLER</translation>
    </message>
    <message>
        <source>Error Deleting File: </source>
        <translation>Fehler beim Löschen der Datei: </translation>
    </message>
    <message>
        <source>Drop photos here to put them at the end of the Photo Box</source>
        <translation>Fotos hier ablegen, um sie ans Ende der Fotokiste zu legen</translation>
    </message>
</context>
<context>
    <name>phdesc</name>
    <message>
        <source>Album Description Error</source>
        <translation>Fehler in der Albumbeschreibung</translation>
    </message>
    <message>
        <source>Album Description Can Not Be Blank</source>
        <translation>Die Albumbeschreibung darf nicht leer sein</translation>
    </message>
    <message>
        <source>Change Descriptions</source>
        <translation>Beschreibungen ändern</translation>
    </message>
    <message>
        <source>&amp;Accept Changes</source>
        <translation>Änderungen &amp;übernehmen</translation>
    </message>
    <message>
        <source>&amp;Dont Change</source>
        <translation>&amp;Nicht ändern</translation>
    </message>
    <message>
        <source>Photo- Short Description:</source>
        <translation>Foto - Kurzbeschreibung:</translation>
    </message>
    <message>
        <source>Photo- Long Description:</source>
        <translation>Foto - Langbeschreibung:</translation>
    </message>
    <message>
        <source>ALbum Description:</source>
        <translation>Albumbeschreibung:</translation>
    </message>
    <message>
        <source>No Photo Selected</source>
        <translation>Kein Foto ausgewählt</translation>
    </message>
</context>
<context>
    <name>phgrp</name>
    <message>
        <source>Delete Group: </source>
        <translation>Gruppe löschen: </translation>
    </message>
    <message>
        <source>Merge Left Group: </source>
        <translation>Mit linker Gruppe zusammenführen: </translation>
    </message>
    <message>
        <source>Merge Right Group: </source>
        <translation>Mit rechter Gruppe zusammenführen: </translation>
    </message>
    <message>
        <source>Frames:</source>
        <translation>Rahmen:</translation>
    </message>
    <message>
        <source>Group: </source>
        <translation>Gruppe: </translation>
    </message>
    <message>
        <source>Photo Groups</source>
        <translation>Fotogruppen</translation>
    </message>
    <message>
        <source>Frame 1</source>
        <translation>Rahmen 1</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>Photos:</source>
        <translation>Fotos:</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Anhängen</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Merge &amp;Left</source>
        <translation>Mit lin&amp;ker vereinen</translation>
    </message>
    <message>
        <source>Merge Ri&amp;ght</source>
        <translation>Mit &amp;rechter vereinen</translation>
    </message>
    <message>
        <source>&amp;Return</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Group:</source>
        <translation>Gruppe:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Des&amp;c:</source>
        <translation>&amp;Beschr.:</translation>
    </message>
    <message>
        <source>Group %1: %2  (frames %3 to %4)</source>
        <translation>Gruppe %1: %2  (Rahmen %3 bis %4)</translation>
    </message>
    <message>
        <source>Group Name Error</source>
        <translation>Fehler im Gruppennamen</translation>
    </message>
    <message>
        <source>Group Name Can Not Be Blank</source>
        <translation>Der Gruppenname darf nicht leer sein</translation>
    </message>
    <message>
        <source>Delete Group</source>
        <translation>Gruppe löschen</translation>
    </message>
    <message>
        <source>Merge Left Group</source>
        <translation>Mit linker Gruppe zusammenführen</translation>
    </message>
    <message>
        <source>Merge Right Group</source>
        <translation>Mit rechter Gruppe zusammenführen</translation>
    </message>
</context>
<context>
    <name>phmail</name>
    <message>
        <source>No Email App Is Set Up.<byte value="xd"/>The Photos Are In Directory: </source>
        <translation>Es ist kein E-Mail-Programm eingerichtet.<byte value="xd"/>Die Fotos liegen im Ordner: </translation>
    </message>
    <message>
        <source>EMail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Select Photo Size</source>
        <translation>Fotogröße wählen</translation>
    </message>
    <message>
        <source>Small (400 * 300)</source>
        <translation>Klein (400 * 300)</translation>
    </message>
    <message>
        <source>Medium (600 * 450)</source>
        <translation>Mittel (600 * 450)</translation>
    </message>
    <message>
        <source>Large (800 * 600)</source>
        <translation>Groß (800 * 600)</translation>
    </message>
    <message>
        <source>&amp;Start Email App</source>
        <translation>E-Mail-Programm &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Return</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>EMail - ERROR</source>
        <translation>E-Mail - FEHLER</translation>
    </message>
    <message>
        <source>*** SELECT &apos;File Attach&apos; From the Menu, and Attach the</source>
        <translation>*** WÄHLEN Sie im Menü &apos;Datei anhängen&apos; und hängen Sie die</translation>
    </message>
    <message>
        <source>Files in Directory: </source>
        <translation>Dateien aus diesem Ordner an: </translation>
    </message>
    <message>
        <source>**** Replace this Message with Your Email Text ****</source>
        <translation>**** Ersetzen Sie diese Nachricht durch Ihren E-Mail-Text ****</translation>
    </message>
</context>
<context>
    <name>phpage</name>
    <message>
        <source>Save - ERROR</source>
        <translation>Speichern - FEHLER</translation>
    </message>
    <message>
        <source>File Extension Must Be  jpg , gif , or bmp</source>
        <translation>Die Dateiendung muss  jpg , gif  oder  bmp  sein</translation>
    </message>
    <message>
        <source>File Can NOT be Saved to the Album&apos;s Picture Folder</source>
        <translation>Die Datei kann NICHT im Bilderordner des Albums gespeichert werden</translation>
    </message>
    <message>
        <source>Error Saving File</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>Save Picture</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>Image Files (*.jpg *.gif *.bmp)</source>
        <translation>Bilddateien (*.jpg *.gif *.bmp)</translation>
    </message>
    <message>
        <source>Next pages</source>
        <translation>Nächste Seiten</translation>
    </message>
    <message>
        <source>Previous pages</source>
        <translation>Vorige Seiten</translation>
    </message>
    <message>
        <source>Vimbrel v 01.00</source>
        <translation>Vimbrel v 01.00</translation>
    </message>
    <message>
        <source>Pages:</source>
        <translation>Seiten:</translation>
    </message>
    <message>
        <source>Frames:</source>
        <translation>Rahmen:</translation>
    </message>
    <message>
        <source>Photos:</source>
        <translation>Fotos:</translation>
    </message>
    <message>
        <source>Selected:</source>
        <translation>Ausgewählt:</translation>
    </message>
    <message>
        <source>Group: </source>
        <translation>Gruppe: </translation>
    </message>
    <message>
        <source>Add/Replace Photo</source>
        <translation>Foto hinzufügen/ersetzen</translation>
    </message>
    <message>
        <source>Replace Photo?</source>
        <translation>Foto ersetzen?</translation>
    </message>
    <message>
        <source>Go To Page</source>
        <translation>Gehe zu Seite</translation>
    </message>
    <message>
        <source>Invalid Page Number Entered.</source>
        <translation>Ungültige Seitenzahl eingegeben.</translation>
    </message>
    <message>
        <source>Edit Groups</source>
        <translation>Gruppen bearbeiten</translation>
    </message>
    <message>
        <source>Import Images</source>
        <translation>Bilder importieren</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Exit Vimbrel</source>
        <translation>Vimbrel beenden</translation>
    </message>
    <message>
        <source>Photo Box</source>
        <translation>Fotokiste</translation>
    </message>
    <message>
        <source>Rotate Photo</source>
        <translation>Foto drehen</translation>
    </message>
    <message>
        <source>Display Large Photos</source>
        <translation>Große Fotos anzeigen</translation>
    </message>
    <message>
        <source>Display Medium Photos</source>
        <translation>Mittlere Fotos anzeigen</translation>
    </message>
    <message>
        <source>Display Small Photos</source>
        <translation>Kleine Fotos anzeigen</translation>
    </message>
    <message>
        <source>GoTo First Page</source>
        <translation>Zur ersten Seite</translation>
    </message>
    <message>
        <source>GoTo Last Page</source>
        <translation>Zur letzten Seite</translation>
    </message>
    <message>
        <source>GoTo Page</source>
        <translation>Zu Seite</translation>
    </message>
    <message>
        <source>Change Descriptions</source>
        <translation>Beschreibungen ändern</translation>
    </message>
    <message>
        <source>GoTo Index</source>
        <translation>Zum Inhaltsverzeichnis</translation>
    </message>
    <message>
        <source>Show/Hide Descriptions</source>
        <translation>Beschreibungen zeigen/verbergen</translation>
    </message>
    <message>
        <source>Select All/None</source>
        <translation>Alle/keine auswählen</translation>
    </message>
    <message>
        <source>Save Image As</source>
        <translation>Bild speichern unter</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Slide Show</source>
        <translation>Diashow</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source> Photo: </source>
        <translation> Foto: </translation>
    </message>
    <message>
        <source>GIF error %1</source>
        <translation>GIF-Fehler %1</translation>
    </message>
    <message>
        <source>No picture to write</source>
        <translation>Kein Bild zum Schreiben</translation>
    </message>
    <message>
        <source>Picture too large for GIF</source>
        <translation>Bild zu groß für GIF</translation>
    </message>
    <message>
        <source>Could not reduce the picture to 256 colours</source>
        <translation>Das Bild konnte nicht auf 256 Farben reduziert werden</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genug Speicher</translation>
    </message>
    <message>
        <source>INDEX</source>
        <translation>INHALT</translation>
    </message>
</context>
<context>
    <name>phprint</name>
    <message>
        <source>[Frames: </source>
        <translation>[Rahmen: </translation>
    </message>
    <message>
        <source>    Photos: </source>
        <translation>    Fotos: </translation>
    </message>
    <message>
        <source>    Page </source>
        <translation>    Seite </translation>
    </message>
    <message>
        <source>Groups: </source>
        <translation>Gruppen: </translation>
    </message>
    <message>
        <source>Frames: </source>
        <translation>Rahmen: </translation>
    </message>
    <message>
        <source>Photos: </source>
        <translation>Fotos: </translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>Die Datei %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The printer %1 did not accept the print job.</source>
        <translation>Der Drucker %1 hat den Druckauftrag nicht angenommen.</translation>
    </message>
    <message>
        <source>5 x 3 in, three a page</source>
        <translation>5 x 3 Zoll, drei je Seite</translation>
    </message>
    <message>
        <source>6 x 4 in, two a page</source>
        <translation>6 x 4 Zoll, zwei je Seite</translation>
    </message>
    <message>
        <source>7 x 5 in, two a page</source>
        <translation>7 x 5 Zoll, zwei je Seite</translation>
    </message>
    <message>
        <source>8 x 10 in, one a page</source>
        <translation>8 x 10 Zoll, eins je Seite</translation>
    </message>
    <message>
        <source>Contact sheet, 45 a page</source>
        <translation>Kontaktbogen, 45 je Seite</translation>
    </message>
    <message>
        <source>4 x 6 in page</source>
        <translation>Seite 4 x 6 Zoll</translation>
    </message>
    <message>
        <source>Vimbrel Print</source>
        <translation>Vimbrel Drucken</translation>
    </message>
    <message>
        <source> Layout </source>
        <translation> Anordnung </translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Kopien:</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>&amp;Set Printer</source>
        <translation>Drucker &amp;wählen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abb&amp;rechen</translation>
    </message>
    <message>
        <source>&amp;Return</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Printer Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Invalid Number of Copies</source>
        <translation>Ungültige Anzahl Kopien</translation>
    </message>
    <message>
        <source>Print Canceled</source>
        <translation>Druck abgebrochen</translation>
    </message>
    <message>
        <source>Print - ERROR</source>
        <translation>Drucken - FEHLER</translation>
    </message>
    <message>
        <source> ( 1 to</source>
        <translation> ( 1 bis</translation>
    </message>
    <message>
        <source>Generating: </source>
        <translation>Erzeuge: </translation>
    </message>
    <message>
        <source>  of </source>
        <translation>  von </translation>
    </message>
    <message>
        <source>Completed </source>
        <translation>Fertig: </translation>
    </message>
    <message>
        <source> Pages</source>
        <translation> Seiten</translation>
    </message>
</context>
<context>
    <name>phslide</name>
    <message>
        <source>Slide Show</source>
        <translation>Diashow</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Erstes</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Voriges</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächstes</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letztes</translation>
    </message>
    <message>
        <source>Picture Size</source>
        <translation>Bildgröße</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Seconds between slides</source>
        <translation>Sekunden zwischen den Bildern</translation>
    </message>
    <message>
        <source>Hide/Show Descriptions</source>
        <translation>Beschreibungen verbergen/zeigen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>  of </source>
        <translation>  von </translation>
    </message>
</context>
<context>
    <name>vimbra</name>
    <message>
        <source>Vimbrel is already running.</source>
        <translation>Vimbrel läuft bereits.</translation>
    </message>
    <message>
        <source>The first group does not start at frame 1.</source>
        <translation>Die erste Gruppe beginnt nicht bei Rahmen 1.</translation>
    </message>
    <message>
        <source>Group %1 does not follow the group before it.</source>
        <translation>Gruppe %1 schließt nicht an die Gruppe davor an.</translation>
    </message>
    <message>
        <source>The groups do not end at the last frame.</source>
        <translation>Die Gruppen enden nicht beim letzten Rahmen.</translation>
    </message>
    <message>
        <source>Picture %1 is in more than one frame.</source>
        <translation>Bild %1 steckt in mehr als einem Rahmen.</translation>
    </message>
    <message>
        <source>Open - ERROR</source>
        <translation>Öffnen - FEHLER</translation>
    </message>
    <message>
        <source>File: </source>
        <translation>Datei: </translation>
    </message>
    <message>
        <source>The file ends inside its header.</source>
        <translation>Die Datei endet mitten im Kopf.</translation>
    </message>
    <message>
        <source>The length of the picture folder name is out of range.</source>
        <translation>Die Länge des Bilderordnernamens liegt außerhalb des Erlaubten.</translation>
    </message>
    <message>
        <source>The album claims %1 groups; 1 to 42 are possible.</source>
        <translation>Das Album gibt %1 Gruppen an; möglich sind 1 bis 42.</translation>
    </message>
    <message>
        <source>The album claims %1 frames; at most 1000 are possible.</source>
        <translation>Das Album gibt %1 Rahmen an; möglich sind höchstens 1000.</translation>
    </message>
    <message>
        <source>The file is cut short: its records are incomplete.</source>
        <translation>Die Datei ist abgeschnitten: ihre Einträge sind unvollständig.</translation>
    </message>
    <message>
        <source>Save - ERROR</source>
        <translation>Speichern - FEHLER</translation>
    </message>
    <message>
        <source>File &apos;</source>
        <translation>Die Datei &apos;</translation>
    </message>
    <message>
        <source>&apos;<byte value="xd"/>Doesn&apos;t Exist!</source>
        <translation>&apos;<byte value="xd"/>gibt es nicht!</translation>
    </message>
    <message>
        <source>The file is larger than any album file can be.</source>
        <translation>Die Datei ist größer, als eine Albumdatei sein kann.</translation>
    </message>
    <message>
        <source>Open - Version ERROR</source>
        <translation>Öffnen - VERSIONSFEHLER</translation>
    </message>
    <message>
        <source>Invalid Vimbrel File, or File Version</source>
        <translation>Ungültige Vimbrel-Datei oder Dateiversion</translation>
    </message>
    <message>
        <source>Folder: </source>
        <translation>Ordner: </translation>
    </message>
    <message>
        <source>Group: </source>
        <translation>Gruppe: </translation>
    </message>
    <message>
        <source>Open - Read Only</source>
        <translation>Öffnen - Nur lesen</translation>
    </message>
    <message>
        <source>Album &apos;</source>
        <translation>Das Album &apos;</translation>
    </message>
    <message>
        <source>&apos; cannot be locked against other Vimbrel sessions: &apos;</source>
        <translation>&apos; kann nicht gegen andere Vimbrel-Sitzungen gesperrt werden: &apos;</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Vimbrel v 01.00</source>
        <translation>Vimbrel v 01.00</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Return</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Save changes before Opening a new File?</source>
        <translation>Änderungen vor dem Öffnen einer neuen Datei speichern?</translation>
    </message>
    <message>
        <source>Save Changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Save changes before Quiting?</source>
        <translation>Änderungen vor dem Beenden speichern?</translation>
    </message>
    <message>
        <source>Delete From List</source>
        <translation>Aus der Liste löschen</translation>
    </message>
    <message>
        <source>Delete &apos;</source>
        <translation>&apos;</translation>
    </message>
    <message>
        <source>&apos; From The Album List</source>
        <translation>&apos; aus der Albumliste löschen</translation>
    </message>
    <message>
        <source>Not a regular file: </source>
        <translation>Keine gewöhnliche Datei: </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Other ...</source>
        <translation>Andere ...</translation>
    </message>
</context>
<context>
    <name>wabout</name>
    <message>
        <source>Loading:    </source>
        <translation>Lade:    </translation>
    </message>
    <message>
        <source>About Vimbrel</source>
        <translation>Über Vimbrel</translation>
    </message>
    <message>
        <source>Photo albums for your desktop  ·  Version 01.00  ·  © %1 The Vimbrel developers</source>
        <translation>Fotoalben für Ihren Schreibtisch  ·  Version 01.00  ·  © %1 Die Vimbrel-Entwickler</translation>
    </message>
</context>
</TS>
