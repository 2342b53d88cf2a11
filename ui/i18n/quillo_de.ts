<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>Quillo</name>
    <message>
        <source>&amp;Add Files</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Add files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Add &amp;Folder</source>
        <translation>Aus &amp;Ordner</translation>
    </message>
    <message>
        <source>Add files from a folder</source>
        <translation>Dateien aus einem Ordner hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove All</source>
        <translation>Alle &amp;entfernen</translation>
    </message>
    <message>
        <source>Remove all files in list</source>
        <translation>Alle Dateien aus der Liste entfernen</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Konvertieren</translation>
    </message>
    <message>
        <source>Convert all files</source>
        <translation>Alle Dateien konvertieren</translation>
    </message>
    <message>
        <source>Co&amp;nvert to One</source>
        <translation>&amp;Zusammenfügen</translation>
    </message>
    <message>
        <source>Convert all files into a single file</source>
        <translation>Alle Dateien in eine einzige Datei konvertieren</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>O&amp;ptionen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Output format</source>
        <translation>Ausgabeformat</translation>
    </message>
    <message>
        <source>About Quillo</source>
        <translation>Über Quillo</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Quillo&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;A batch audio converter: many audio and video files to thirty-two audio formats, one output each or joined into one.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Quillo&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;Ein Stapel-Audiokonverter: viele Audio- und Videodateien in zweiunddreißig Audioformate, jede für sich oder zu einer Datei zusammengefügt.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>You should select a file at least.</source>
        <translation>Bitte wählen Sie mindestens eine Datei aus.</translation>
    </message>
    <message>
        <source>There aren't files in list.</source>
        <translation>Die Liste enthält keine Dateien.</translation>
    </message>
    <message>
        <source>Quillo converts to audio formats only.

To keep the sound of a video, choose one of the audio formats; video files can be added as sources.</source>
        <translation>Quillo konvertiert nur in Audioformate.

Um den Ton eines Videos zu behalten, wählen Sie eines der Audioformate; Videodateien können als Quellen hinzugefügt werden.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Bit Rate</source>
        <translation>Bitrate</translation>
    </message>
    <message>
        <source>Sample Rate</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>&amp;Play Source</source>
        <translation>Quelle a&amp;bspielen</translation>
    </message>
    <message>
        <source>Play &amp;Destination</source>
        <translation>&amp;Ziel abspielen</translation>
    </message>
    <message>
        <source>&amp;Convert Selected</source>
        <translation>&amp;Auswahl konvertieren</translation>
    </message>
    <message>
        <source>Convert All</source>
        <translation>Alle konvertieren</translation>
    </message>
    <message>
        <source>&amp;Convert Selected to One</source>
        <translation>Auswahl zu &amp;einer Datei zusammenfügen</translation>
    </message>
    <message>
        <source>Convert All to One</source>
        <translation>Alle zu einer Datei zusammenfügen</translation>
    </message>
    <message>
        <source>Browse &amp;Source Folder</source>
        <translation>&amp;Quellordner öffnen</translation>
    </message>
    <message>
        <source>Browse Destination &amp;Folder</source>
        <translation>Zielordner ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Add Files...	Ctrl+O</source>
        <translation>&amp;Dateien hinzufügen...	Strg+O</translation>
    </message>
    <message>
        <source>Add F&amp;older</source>
        <translation>&amp;Ordner hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove	Del</source>
        <translation>E&amp;ntfernen	Entf</translation>
    </message>
    <message>
        <source>Remove Al&amp;l</source>
        <translation>A&amp;lle entfernen</translation>
    </message>
    <message>
        <source>&amp;Help Topics	F1</source>
        <translation>&amp;Hilfethemen	F1</translation>
    </message>
    <message>
        <source>&amp;Tell A Friend</source>
        <translation>&amp;Weiterempfehlen</translation>
    </message>
    <message>
        <source>&amp;Feedback and Support</source>
        <translation>&amp;Feedback und Hilfe</translation>
    </message>
    <message>
        <source>Home&amp;page</source>
        <translation>&amp;Startseite</translation>
    </message>
    <message>
        <source>&amp;Check Latest Version</source>
        <translation>Auf neue &amp;Version prüfen</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Please choose a folder:</source>
        <translation>Bitte wählen Sie einen Ordner:</translation>
    </message>
    <message>
        <source>Searching files...</source>
        <translation>Dateien werden gesucht...</translation>
    </message>
    <message>
        <source>[%1/%2] Adding file %3...</source>
        <translation>[%1/%2] Datei %3 wird hinzugefügt...</translation>
    </message>
    <message>
        <source>%1 File (%2)</source>
        <translation>%1-Datei (%2)</translation>
    </message>
    <message>
        <source>The conversion could not start (%1).</source>
        <translation>Die Konvertierung konnte nicht beginnen (%1).</translation>
    </message>
    <message>
        <source>The conversion stopped (%1).</source>
        <translation>Die Konvertierung wurde abgebrochen (%1).</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>3GPP Files</source>
        <translation>3GPP-Dateien</translation>
    </message>
    <message>
        <source>3GPP2 Files</source>
        <translation>3GPP2-Dateien</translation>
    </message>
    <message>
        <source>Adobe Flash Files</source>
        <translation>Adobe-Flash-Dateien</translation>
    </message>
    <message>
        <source>Advanced Audio Coding</source>
        <translation>Advanced Audio Coding</translation>
    </message>
    <message>
        <source>AIFF Files</source>
        <translation>AIFF-Dateien</translation>
    </message>
    <message>
        <source>AMR Files</source>
        <translation>AMR-Dateien</translation>
    </message>
    <message>
        <source>AU Files</source>
        <translation>AU-Dateien</translation>
    </message>
    <message>
        <source>AVI Files</source>
        <translation>AVI-Dateien</translation>
    </message>
    <message>
        <source>CD Audio</source>
        <translation>CD-Audio</translation>
    </message>
    <message>
        <source>Creative Voice Files</source>
        <translation>Creative-Voice-Dateien</translation>
    </message>
    <message>
        <source>CRI ADX Files</source>
        <translation>CRI-ADX-Dateien</translation>
    </message>
    <message>
        <source>Dolby Digital AC-3</source>
        <translation>Dolby Digital AC-3</translation>
    </message>
    <message>
        <source>DTS Files</source>
        <translation>DTS-Dateien</translation>
    </message>
    <message>
        <source>DV Video Files</source>
        <translation>DV-Videodateien</translation>
    </message>
    <message>
        <source>DVD Video Files</source>
        <translation>DVD-Videodateien</translation>
    </message>
    <message>
        <source>Electronic Arts CDATA Files</source>
        <translation>Electronic-Arts-CDATA-Dateien</translation>
    </message>
    <message>
        <source>Flash Video Files</source>
        <translation>Flash-Videodateien</translation>
    </message>
    <message>
        <source>Free Lossless Audio Codec</source>
        <translation>Free Lossless Audio Codec</translation>
    </message>
    <message>
        <source>H.264/MPEG4 AVC Video</source>
        <translation>H.264/MPEG4-AVC-Video</translation>
    </message>
    <message>
        <source>Matroska Files</source>
        <translation>Matroska-Dateien</translation>
    </message>
    <message>
        <source>Microsoft Digital Video Recording</source>
        <translation>Microsoft Digital Video Recording</translation>
    </message>
    <message>
        <source>MIDI Files</source>
        <translation>MIDI-Dateien</translation>
    </message>
    <message>
        <source>MJPEG Video Files</source>
        <translation>MJPEG-Videodateien</translation>
    </message>
    <message>
        <source>MMF Files</source>
        <translation>MMF-Dateien</translation>
    </message>
    <message>
        <source>MOD Musics</source>
        <translation>MOD-Musik</translation>
    </message>
    <message>
        <source>Monkey's Audio</source>
        <translation>Monkey's Audio</translation>
    </message>
    <message>
        <source>MP3 Files</source>
        <translation>MP3-Dateien</translation>
    </message>
    <message>
        <source>MPEG Audio Files</source>
        <translation>MPEG-Audiodateien</translation>
    </message>
    <message>
        <source>MPEG Video Files</source>
        <translation>MPEG-Videodateien</translation>
    </message>
    <message>
        <source>MPEG-4 Audio Files</source>
        <translation>MPEG-4-Audiodateien</translation>
    </message>
    <message>
        <source>MPEG4 TS HD Video</source>
        <translation>MPEG4-TS-HD-Video</translation>
    </message>
    <message>
        <source>MPEG-4 Video Files</source>
        <translation>MPEG-4-Videodateien</translation>
    </message>
    <message>
        <source>Musepack</source>
        <translation>Musepack</translation>
    </message>
    <message>
        <source>Nullsoft Audio/Video Files</source>
        <translation>Nullsoft-Audio/Video-Dateien</translation>
    </message>
    <message>
        <source>NUT Files</source>
        <translation>NUT-Dateien</translation>
    </message>
    <message>
        <source>OGG Files</source>
        <translation>OGG-Dateien</translation>
    </message>
    <message>
        <source>QuickTime Files</source>
        <translation>QuickTime-Dateien</translation>
    </message>
    <message>
        <source>Raw h261 Files</source>
        <translation>Rohe H.261-Dateien</translation>
    </message>
    <message>
        <source>Raw h263 Files</source>
        <translation>Rohe H.263-Dateien</translation>
    </message>
    <message>
        <source>Raw h264 Video Files</source>
        <translation>Rohe H.264-Videodateien</translation>
    </message>
    <message>
        <source>Real Audio Files</source>
        <translation>RealAudio-Dateien</translation>
    </message>
    <message>
        <source>Real Media Files</source>
        <translation>RealMedia-Dateien</translation>
    </message>
    <message>
        <source>Speex</source>
        <translation>Speex</translation>
    </message>
    <message>
        <source>The True Audio</source>
        <translation>The True Audio</translation>
    </message>
    <message>
        <source>VCD Video Files</source>
        <translation>VCD-Videodateien</translation>
    </message>
    <message>
        <source>WAV Files</source>
        <translation>WAV-Dateien</translation>
    </message>
    <message>
        <source>WavPack</source>
        <translation>WavPack</translation>
    </message>
    <message>
        <source>Windows Media Files</source>
        <translation>Windows-Media-Dateien</translation>
    </message>
    <message>
        <source>YUV Video Files</source>
        <translation>YUV-Videodateien</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The options could not be saved. They apply until Quillo is closed.</source>
        <translation>Die Optionen konnten nicht gespeichert werden. Sie gelten, bis Quillo beendet wird.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Kodierungsoptionen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Adding files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Only add the following file extensions for &quot;Add Folder&quot; and Drag/Drop</source>
        <translation>Bei „Ordner hinzufügen“ und Ziehen/Ablegen nur diese &amp;Endungen hinzufügen</translation>
    </message>
    <message>
        <source>Note: use comma (,) to separate multiple extensions. For example: wav,mp3,m4a,aac</source>
        <translation>Hinweis: mehrere Endungen durch Komma (,) trennen. Zum Beispiel: wav,mp3,m4a,aac</translation>
    </message>
    <message>
        <source>&amp;Do not load hidden files</source>
        <translation>&amp;Versteckte Dateien nicht laden</translation>
    </message>
    <message>
        <source>&amp;Use DTS to decode CDA files</source>
        <translation>CDA-Dateien mit &amp;DTS decodieren</translation>
    </message>
    <message>
        <source>Stereo to mono</source>
        <translation>Stereo zu Mono</translation>
    </message>
    <message>
        <source>When converting 2 channels to 1 channel, the out channel equals to:</source>
        <translation>Beim Umwandeln von 2 Kanälen in 1 Kanal entspricht der Ausgabekanal:</translation>
    </message>
    <message>
        <source>What do these choices mean?</source>
        <translation>Was bedeuten diese Möglichkeiten?</translation>
    </message>
    <message>
        <source>In general, the output sound equals to &quot;(L+R)/2,&quot; which contains left and right channels.

&quot;L channel&quot; means the program outputs left channel of original stereo file. And &quot;R channel&quot; means right channel. It's very useful when you want to convert a stereo file into two files that contains left and right channels distinguishingly.</source>
        <translation>Im Allgemeinen entspricht der Ausgabeton „(L+R)/2“, enthält also den linken und den rechten Kanal.

„L-Kanal“ bedeutet, dass das Programm den linken Kanal der ursprünglichen Stereodatei ausgibt, „R-Kanal“ den rechten. Das ist nützlich, wenn Sie eine Stereodatei in zwei Dateien mit getrenntem linken und rechten Kanal umwandeln möchten.</translation>
    </message>
    <message>
        <source>(L+R) / &amp;2 (default)</source>
        <translation>(L+R) / &amp;2 (Standard)</translation>
    </message>
    <message>
        <source>&amp;L channel</source>
        <translation>&amp;L-Kanal</translation>
    </message>
    <message>
        <source>&amp;R channel</source>
        <translation>&amp;R-Kanal</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>&amp;Skip the first</source>
        <translation>Über&amp;springen: die ersten</translation>
    </message>
    <message>
        <source>milliseconds (ms) of each file (1 sec = 1000 ms)</source>
        <translation>Millisekunden (ms) jeder Datei (1 s = 1000 ms)</translation>
    </message>
    <message>
        <source>Only &amp;convert</source>
        <translation>Nur &amp;konvertieren:</translation>
    </message>
    <message>
        <source>milliseconds (ms) length for each file (1 sec = 1000 ms)</source>
        <translation>Millisekunden (ms) je Datei (1 s = 1000 ms)</translation>
    </message>
    <message>
        <source>&amp;Normalize volume automatically so that all output files have the same volume</source>
        <translation>Lautstärke automatisch &amp;normalisieren, sodass alle Ausgabedateien gleich laut sind</translation>
    </message>
    <message>
        <source>&amp;Adjust volume manually</source>
        <translation>Lautstärke &amp;manuell anpassen</translation>
    </message>
    <message>
        <source>&amp;Keep original volume (do not adjust volume)</source>
        <translation>Originallautstärke &amp;beibehalten (nicht anpassen)</translation>
    </message>
    <message>
        <source>Normalize loudn&amp;ess to</source>
        <translation>Lautheit normalisieren &amp;auf</translation>
    </message>
    <message>
        <source>&lt; 100% - Decrease volume
= 100% - No changes
&gt; 100% - Increase volume</source>
        <translation>&lt; 100% - leiser
= 100% - unverändert
&gt; 100% - lauter</translation>
    </message>
    <message>
        <source>LUFS (true peak at most -1 dBTP)</source>
        <translation>LUFS (True Peak höchstens -1 dBTP)</translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation>Bitte geben Sie eine positive ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter file extensions you need to filter.</source>
        <translation>Bitte geben Sie die Dateiendungen ein, nach denen gefiltert werden soll.</translation>
    </message>
    <message>
        <source>Conversion length must be greater than 0 millisecond.</source>
        <translation>Die Konvertierungslänge muss größer als 0 Millisekunden sein.</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Same as source file</source>
        <translation>Wie Quelldatei</translation>
    </message>
    <message>
        <source>Specific folder</source>
        <translation>Bestimmter Ordner</translation>
    </message>
    <message>
        <source>&amp;Output folder:</source>
        <translation>&amp;Ausgabeordner:</translation>
    </message>
    <message>
        <source>&amp;Specific folder:</source>
        <translation>&amp;Bestimmter Ordner:</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Durchsuchen</translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Keep original directory tree</source>
        <translation>Ursprüngliche &amp;Ordnerstruktur beibehalten</translation>
    </message>
    <message>
        <source>For example: source file is &quot;/home/ann/Music/pop/track01.mp3&quot; and output folder is &quot;/data/out&quot;. If the option is checked, the output folder will be &quot;/data/out/home/ann/Music/pop/&quot;.</source>
        <translation>Beispiel: Die Quelldatei ist „/home/ann/Music/pop/track01.mp3“ und der Ausgabeordner „/data/out“. Ist die Option gewählt, wird der Ausgabeordner „/data/out/home/ann/Music/pop/“.</translation>
    </message>
    <message>
        <source>Output files</source>
        <translation>Ausgabedateien</translation>
    </message>
    <message>
        <source>Rename automatically (add number at end of file name)</source>
        <translation>Automatisch umbenennen (Nummer an den Dateinamen anhängen)</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Skip (not convert)</source>
        <translation>Überspringen (nicht konvertieren)</translation>
    </message>
    <message>
        <source>&amp;If target file exists </source>
        <translation>&amp;Wenn die Zieldatei existiert: </translation>
    </message>
    <message>
        <source>O&amp;utput files to &quot;Documents&quot; if creating file failure</source>
        <translation>Ausgabe in „Dokumente“ &amp;schreiben, wenn die Datei nicht angelegt werden kann</translation>
    </message>
    <message>
        <source>Bro&amp;wse output folder when conversion completes</source>
        <translation>Ausgabeordner nach der Konvertierung an&amp;zeigen</translation>
    </message>
    <message>
        <source>&amp;Verify each output: decode it back before it replaces anything</source>
        <translation>Jede Ausgabe &amp;prüfen: zurück decodieren, bevor sie etwas ersetzt</translation>
    </message>
    <message>
        <source>Please choose an output folder:</source>
        <translation>Bitte wählen Sie einen Ausgabeordner:</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; doesn't exist yet.

Note: the program will create the folder automatically when converting files.</source>
        <translation>Der Ordner „%1“ existiert noch nicht.

Hinweis: Das Programm legt den Ordner beim Konvertieren automatisch an.</translation>
    </message>
    <message>
        <source>Please choose an output folder.</source>
        <translation>Bitte wählen Sie einen Ausgabeordner.</translation>
    </message>
    <message>
        <source>The output folder must be a full path that starts with &quot;/&quot;, for example &quot;/home/ann/Music&quot;.</source>
        <translation>Der Ausgabeordner muss ein vollständiger Pfad sein, der mit „/“ beginnt, zum Beispiel „/home/ann/Music“.</translation>
    </message>
    <message>
        <source>The output folder's path is too long.</source>
        <translation>Der Pfad des Ausgabeordners ist zu lang.</translation>
    </message>
    <message>
        <source>A&amp;uto (the program will choose the best options)</source>
        <translation>A&amp;utomatisch (das Programm wählt die besten Optionen)</translation>
    </message>
    <message>
        <source>&amp;Codec:</source>
        <translation>&amp;Codec:</translation>
    </message>
    <message>
        <source>Sample &amp;Rate:</source>
        <translation>Abtast&amp;rate:</translation>
    </message>
    <message>
        <source>&amp;Bit Rate:</source>
        <translation>&amp;Bitrate:</translation>
    </message>
    <message>
        <source>Bit &amp;Rate:</source>
        <translation>Bit&amp;rate:</translation>
    </message>
    <message>
        <source>Channels:</source>
        <translation>Kanäle:</translation>
    </message>
    <message>
        <source>&amp;Variable bit rate (VBR)</source>
        <translation>&amp;Variable Bitrate (VBR)</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Very high</source>
        <translation>Sehr hoch</translation>
    </message>
    <message>
        <source>Co&amp;mpression:</source>
        <translation>Ko&amp;mpression:</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best sample rate)</source>
        <translation>Automatisch (das Programm wählt die beste Abtastrate)</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best bit rate)</source>
        <translation>Automatisch (das Programm wählt die beste Bitrate)</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best channels)</source>
        <translation>Automatisch (das Programm wählt die besten Kanäle)</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best options)</source>
        <translation>Automatisch (das Programm wählt die besten Optionen)</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>&amp;NB (Narrow Band, 8000 Hz)</source>
        <translation>&amp;NB (Schmalband, 8000 Hz)</translation>
    </message>
    <message>
        <source>&amp;WB (Wide Band, 16000 Hz)</source>
        <translation>&amp;WB (Breitband, 16000 Hz)</translation>
    </message>
    <message>
        <source>&amp;Enable DTX (Discontinuous Transmission)</source>
        <translation>&amp;DTX aktivieren (diskontinuierliche Übertragung)</translation>
    </message>
    <message>
        <source>Sample Frequency: 16000 Hz</source>
        <translation>Abtastrate: 16000 Hz</translation>
    </message>
    <message>
        <source>&amp;Encoding Options: (sample rate, bit rate, channels)</source>
        <translation>&amp;Kodierungsoptionen: (Abtastrate, Bitrate, Kanäle)</translation>
    </message>
    <message>
        <source>ID3 tag</source>
        <translation>ID3-Tag</translation>
    </message>
    <message>
        <source>&amp;Add custom ID3 tag</source>
        <translation>&amp;Eigenes ID3-Tag hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Transfer ID3 tag from source file</source>
        <translation>ID3-Tag aus der Quelldatei &amp;übernehmen</translation>
    </message>
    <message>
        <source>Transfer pictures (co&amp;ver art)</source>
        <translation>Bilder übernehmen (&amp;Cover)</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keines</translation>
    </message>
    <message>
        <source>&amp;Write ReplayGain tags</source>
        <translation>&amp;ReplayGain-Tags schreiben</translation>
    </message>
    <message>
        <source>N&amp;one</source>
        <translation>Kei&amp;ne</translation>
    </message>
    <message>
        <source>&amp;Sequence number in list</source>
        <translation>&amp;Position in der Liste</translation>
    </message>
    <message>
        <source>C&amp;ustom</source>
        <translation>Benutzer&amp;definiert</translation>
    </message>
    <message>
        <source>Track #:</source>
        <translation>Titelnr.:</translation>
    </message>
    <message>
        <source>Na&amp;me as file name (not include extension)</source>
        <translation>Dateiname als &amp;Titel (ohne Endung)</translation>
    </message>
    <message>
        <source>T&amp;itle:</source>
        <translation>T&amp;itel:</translation>
    </message>
    <message>
        <source>A&amp;rtist:</source>
        <translation>Künst&amp;ler:</translation>
    </message>
    <message>
        <source>A&amp;lbum:</source>
        <translation>&amp;Album:</translation>
    </message>
    <message>
        <source>&amp;Year:</source>
        <translation>&amp;Jahr:</translation>
    </message>
    <message>
        <source>&amp;Comment:</source>
        <translation>Ko&amp;mmentar:</translation>
    </message>
    <message>
        <source>Com&amp;poser:</source>
        <translation>Komp&amp;onist:</translation>
    </message>
    <message>
        <source>Copyrig&amp;ht:</source>
        <translation>Copyrig&amp;ht:</translation>
    </message>
    <message>
        <source>&amp;Genre:</source>
        <translation>&amp;Genre:</translation>
    </message>
    <message>
        <source>Conversion cancelled</source>
        <translation>Konvertierung abgebrochen</translation>
    </message>
    <message>
        <source>Conversion finished</source>
        <translation>Konvertierung abgeschlossen</translation>
    </message>
    <message>
        <source>%1 file(s) converted, %2 failed.</source>
        <translation>%1 Datei(en) konvertiert, %2 fehlgeschlagen.</translation>
    </message>
    <message>
        <source>A conversion is running. Cancel it and quit?</source>
        <translation>Eine Konvertierung läuft. Abbrechen und beenden?</translation>
    </message>
    <message>
        <source>Files are being added. Stop and quit?</source>
        <translation>Dateien werden hinzugefügt. Anhalten und beenden?</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Progress of the current file</source>
        <translation>Fortschritt der aktuellen Datei</translation>
    </message>
    <message>
        <source>Progress of all files</source>
        <translation>Fortschritt aller Dateien</translation>
    </message>
    <message>
        <source>Step up</source>
        <translation>Erhöhen</translation>
    </message>
    <message>
        <source>Step down</source>
        <translation>Verringern</translation>
    </message>
    <message>
        <source>by al&amp;bum</source>
        <translation>nach Alb&amp;um</translation>
    </message>
    <message>
        <source>Al&amp;bum gain too</source>
        <translation>Auch Al&amp;bum-Gain</translation>
    </message>
    <message>
        <source>&amp;Names from tags:</source>
        <translation>&amp;Namen aus Tags:</translation>
    </message>
    <message>
        <source>Write a &amp;cue sheet beside a joined output</source>
        <translation>&amp;Cue-Sheet neben eine verbundene Ausgabe schreiben</translation>
    </message>
</context>
</TS>
