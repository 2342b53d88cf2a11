<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en_US">
<context>
    <name>Quillo</name>
    <message>
        <source>&amp;Add Files</source>
        <translation>&amp;Ajouter fichiers</translation>
    </message>
    <message>
        <source>Add files</source>
        <translation>Ajouter des fichiers</translation>
    </message>
    <message>
        <source>Add &amp;Folder</source>
        <translation>Ajouter &amp;dossier</translation>
    </message>
    <message>
        <source>Add files from a folder</source>
        <translation>Ajouter les fichiers d'un dossier</translation>
    </message>
    <message>
        <source>&amp;Remove All</source>
        <translation>&amp;Tout retirer</translation>
    </message>
    <message>
        <source>Remove all files in list</source>
        <translation>Retirer tous les fichiers de la liste</translation>
    </message>
    <message>
        <source>&amp;Convert</source>
        <translation>&amp;Convertir</translation>
    </message>
    <message>
        <source>Convert all files</source>
        <translation>Convertir tous les fichiers</translation>
    </message>
    <message>
        <source>Co&amp;nvert to One</source>
        <translation>Convertir en &amp;un</translation>
    </message>
    <message>
        <source>Convert all files into a single file</source>
        <translation>Convertir tous les fichiers en un seul fichier</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Output format</source>
        <translation>Format de sortie</translation>
    </message>
    <message>
        <source>About Quillo</source>
        <translation>À propos de Quillo</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Quillo&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;A batch audio converter: many audio and video files to thirty-two audio formats, one output each or joined into one.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Quillo&lt;/b&gt; %1&lt;/p&gt;&lt;p&gt;Un convertisseur audio par lots : de nombreux fichiers audio et vidéo vers trente-deux formats audio, chacun séparément ou réunis en un seul.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;%2&quot;&gt;%2&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>You should select a file at least.</source>
        <translation>Veuillez sélectionner au moins un fichier.</translation>
    </message>
    <message>
        <source>There aren't files in list.</source>
        <translation>La liste ne contient aucun fichier.</translation>
    </message>
    <message>
        <source>Quillo converts to audio formats only.

To keep the sound of a video, choose one of the audio formats; video files can be added as sources.</source>
        <translation>Quillo convertit uniquement vers des formats audio.

Pour garder le son d'une vidéo, choisissez l'un des formats audio ; les fichiers vidéo peuvent être ajoutés comme sources.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Bit Rate</source>
        <translation>Débit</translation>
    </message>
    <message>
        <source>Sample Rate</source>
        <translation>Fréquence</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canaux</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>&amp;Play Source</source>
        <translation>&amp;Lire la source</translation>
    </message>
    <message>
        <source>Play &amp;Destination</source>
        <translation>Lire la &amp;destination</translation>
    </message>
    <message>
        <source>&amp;Convert Selected</source>
        <translation>&amp;Convertir la sélection</translation>
    </message>
    <message>
        <source>Convert All</source>
        <translation>Tout convertir</translation>
    </message>
    <message>
        <source>&amp;Convert Selected to One</source>
        <translation>Convertir la sélection en &amp;un seul fichier</translation>
    </message>
    <message>
        <source>Convert All to One</source>
        <translation>Tout convertir en un seul fichier</translation>
    </message>
    <message>
        <source>Browse &amp;Source Folder</source>
        <translation>Ouvrir le dossier &amp;source</translation>
    </message>
    <message>
        <source>Browse Destination &amp;Folder</source>
        <translation>Ouvrir le dossier de des&amp;tination</translation>
    </message>
    <message>
        <source>&amp;Add Files...	Ctrl+O</source>
        <translation>&amp;Ajouter des fichiers...	Ctrl+O</translation>
    </message>
    <message>
        <source>Add F&amp;older</source>
        <translation>Ajouter un d&amp;ossier</translation>
    </message>
    <message>
        <source>&amp;Remove	Del</source>
        <translation>&amp;Retirer	Suppr</translation>
    </message>
    <message>
        <source>Remove Al&amp;l</source>
        <translation>Tout r&amp;etirer</translation>
    </message>
    <message>
        <source>&amp;Help Topics	F1</source>
        <translation>&amp;Rubriques d'aide	F1</translation>
    </message>
    <message>
        <source>&amp;Tell A Friend</source>
        <translation>Recommander à un a&amp;mi</translation>
    </message>
    <message>
        <source>&amp;Feedback and Support</source>
        <translation>&amp;Commentaires et assistance</translation>
    </message>
    <message>
        <source>Home&amp;page</source>
        <translation>Site &amp;web</translation>
    </message>
    <message>
        <source>&amp;Check Latest Version</source>
        <translation>Rechercher une &amp;nouvelle version</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Ajouter des fichiers</translation>
    </message>
    <message>
        <source>Please choose a folder:</source>
        <translation>Veuillez choisir un dossier :</translation>
    </message>
    <message>
        <source>Searching files...</source>
        <translation>Recherche des fichiers...</translation>
    </message>
    <message>
        <source>[%1/%2] Adding file %3...</source>
        <translation>[%1/%2] Ajout du fichier %3...</translation>
    </message>
    <message>
        <source>%1 File (%2)</source>
        <translation>Fichier %1 (%2)</translation>
    </message>
    <message>
        <source>The conversion could not start (%1).</source>
        <translation>La conversion n'a pas pu démarrer (%1).</translation>
    </message>
    <message>
        <source>The conversion stopped (%1).</source>
        <translation>La conversion s'est arrêtée (%1).</translation>
    </message>
    <message>
        <source>All Files</source>
        <translation>Tous les fichiers</translation>
    </message>
    <message>
        <source>3GPP Files</source>
        <translation>Fichiers 3GPP</translation>
    </message>
    <message>
        <source>3GPP2 Files</source>
        <translation>Fichiers 3GPP2</translation>
    </message>
    <message>
        <source>Adobe Flash Files</source>
        <translation>Fichiers Adobe Flash</translation>
    </message>
    <message>
        <source>Advanced Audio Coding</source>
        <translation>Advanced Audio Coding</translation>
    </message>
    <message>
        <source>AIFF Files</source>
        <translation>Fichiers AIFF</translation>
    </message>
    <message>
        <source>AMR Files</source>
        <translation>Fichiers AMR</translation>
    </message>
    <message>
        <source>AU Files</source>
        <translation>Fichiers AU</translation>
    </message>
    <message>
        <source>AVI Files</source>
        <translation>Fichiers AVI</translation>
    </message>
    <message>
        <source>CD Audio</source>
        <translation>CD audio</translation>
    </message>
    <message>
        <source>Creative Voice Files</source>
        <translation>Fichiers Creative Voice</translation>
    </message>
    <message>
        <source>CRI ADX Files</source>
        <translation>Fichiers CRI ADX</translation>
    </message>
    <message>
        <source>Dolby Digital AC-3</source>
        <translation>Dolby Digital AC-3</translation>
    </message>
    <message>
        <source>DTS Files</source>
        <translation>Fichiers DTS</translation>
    </message>
    <message>
        <source>DV Video Files</source>
        <translation>Fichiers vidéo DV</translation>
    </message>
    <message>
        <source>DVD Video Files</source>
        <translation>Fichiers vidéo DVD</translation>
    </message>
    <message>
        <source>Electronic Arts CDATA Files</source>
        <translation>Fichiers CDATA d'Electronic Arts</translation>
    </message>
    <message>
        <source>Flash Video Files</source>
        <translation>Fichiers vidéo Flash</translation>
    </message>
    <message>
        <source>Free Lossless Audio Codec</source>
        <translation>Free Lossless Audio Codec</translation>
    </message>
    <message>
        <source>H.264/MPEG4 AVC Video</source>
        <translation>Vidéo H.264/MPEG4 AVC</translation>
    </message>
    <message>
        <source>Matroska Files</source>
        <translation>Fichiers Matroska</translation>
    </message>
    <message>
        <source>Microsoft Digital Video Recording</source>
        <translation>Microsoft Digital Video Recording</translation>
    </message>
    <message>
        <source>MIDI Files</source>
        <translation>Fichiers MIDI</translation>
    </message>
    <message>
        <source>MJPEG Video Files</source>
        <translation>Fichiers vidéo MJPEG</translation>
    </message>
    <message>
        <source>MMF Files</source>
        <translation>Fichiers MMF</translation>
    </message>
    <message>
        <source>MOD Musics</source>
        <translation>Musiques MOD</translation>
    </message>
    <message>
        <source>Monkey's Audio</source>
        <translation>Monkey's Audio</translation>
    </message>
    <message>
        <source>MP3 Files</source>
        <translation>Fichiers MP3</translation>
    </message>
    <message>
        <source>MPEG Audio Files</source>
        <translation>Fichiers audio MPEG</translation>
    </message>
    <message>
        <source>MPEG Video Files</source>
        <translation>Fichiers vidéo MPEG</translation>
    </message>
    <message>
        <source>MPEG-4 Audio Files</source>
        <translation>Fichiers audio MPEG-4</translation>
    </message>
    <message>
        <source>MPEG4 TS HD Video</source>
        <translation>Vidéo HD MPEG4 TS</translation>
    </message>
    <message>
        <source>MPEG-4 Video Files</source>
        <translation>Fichiers vidéo MPEG-4</translation>
    </message>
    <message>
        <source>Musepack</source>
        <translation>Musepack</translation>
    </message>
    <message>
        <source>Nullsoft Audio/Video Files</source>
        <translation>Fichiers audio/vidéo Nullsoft</translation>
    </message>
    <message>
        <source>NUT Files</source>
        <translation>Fichiers NUT</translation>
    </message>
    <message>
        <source>OGG Files</source>
        <translation>Fichiers OGG</translation>
    </message>
    <message>
        <source>QuickTime Files</source>
        <translation>Fichiers QuickTime</translation>
    </message>
    <message>
        <source>Raw h261 Files</source>
        <translation>Fichiers h261 bruts</translation>
    </message>
    <message>
        <source>Raw h263 Files</source>
        <translation>Fichiers h263 bruts</translation>
    </message>
    <message>
        <source>Raw h264 Video Files</source>
        <translation>Fichiers vidéo h264 bruts</translation>
    </message>
    <message>
        <source>Real Audio Files</source>
        <translation>Fichiers Real Audio</translation>
    </message>
    <message>
        <source>Real Media Files</source>
        <translation>Fichiers Real Media</translation>
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
        <translation>Fichiers vidéo VCD</translation>
    </message>
    <message>
        <source>WAV Files</source>
        <translation>Fichiers WAV</translation>
    </message>
    <message>
        <source>WavPack</source>
        <translation>WavPack</translation>
    </message>
    <message>
        <source>Windows Media Files</source>
        <translation>Fichiers Windows Media</translation>
    </message>
    <message>
        <source>YUV Video Files</source>
        <translation>Fichiers vidéo YUV</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>The options could not be saved. They apply until Quillo is closed.</source>
        <translation>Les options n'ont pas pu être enregistrées. Elles s'appliquent jusqu'à la fermeture de Quillo.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Veuillez saisir un nombre entier entre %1 et %2.</translation>
    </message>
    <message>
        <source>Encoding Options</source>
        <translation>Options d'encodage</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Adding files</source>
        <translation>Ajout de fichiers</translation>
    </message>
    <message>
        <source>&amp;Only add the following file extensions for &quot;Add Folder&quot; and Drag/Drop</source>
        <translation>N'ajouter &amp;que les extensions suivantes pour « Ajouter un dossier » et le glisser-déposer</translation>
    </message>
    <message>
        <source>Note: use comma (,) to separate multiple extensions. For example: wav,mp3,m4a,aac</source>
        <translation>Remarque : séparez plusieurs extensions par une virgule (,). Par exemple : wav,mp3,m4a,aac</translation>
    </message>
    <message>
        <source>&amp;Do not load hidden files</source>
        <translation>Ne pas charger les fichiers ca&amp;chés</translation>
    </message>
    <message>
        <source>&amp;Use DTS to decode CDA files</source>
        <translation>&amp;Utiliser DTS pour décoder les fichiers CDA</translation>
    </message>
    <message>
        <source>Stereo to mono</source>
        <translation>Stéréo vers mono</translation>
    </message>
    <message>
        <source>When converting 2 channels to 1 channel, the out channel equals to:</source>
        <translation>Lors de la conversion de 2 canaux en 1 canal, le canal de sortie vaut :</translation>
    </message>
    <message>
        <source>What do these choices mean?</source>
        <translation>Que signifient ces choix ?</translation>
    </message>
    <message>
        <source>In general, the output sound equals to &quot;(L+R)/2,&quot; which contains left and right channels.

&quot;L channel&quot; means the program outputs left channel of original stereo file. And &quot;R channel&quot; means right channel. It's very useful when you want to convert a stereo file into two files that contains left and right channels distinguishingly.</source>
        <translation>En général, le son de sortie vaut « (L+R)/2 », qui contient les canaux gauche et droit.

« Canal L » signifie que le programme sort le canal gauche du fichier stéréo d'origine, et « Canal R » le canal droit. C'est très utile pour convertir un fichier stéréo en deux fichiers contenant séparément le canal gauche et le canal droit.</translation>
    </message>
    <message>
        <source>(L+R) / &amp;2 (default)</source>
        <translation>(L+R) / &amp;2 (par défaut)</translation>
    </message>
    <message>
        <source>&amp;L channel</source>
        <translation>Canal &amp;L</translation>
    </message>
    <message>
        <source>&amp;R channel</source>
        <translation>Canal &amp;R</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>&amp;Skip the first</source>
        <translation>&amp;Ignorer les premières</translation>
    </message>
    <message>
        <source>milliseconds (ms) of each file (1 sec = 1000 ms)</source>
        <translation>millisecondes (ms) de chaque fichier (1 s = 1000 ms)</translation>
    </message>
    <message>
        <source>Only &amp;convert</source>
        <translation>Convertir &amp;seulement</translation>
    </message>
    <message>
        <source>milliseconds (ms) length for each file (1 sec = 1000 ms)</source>
        <translation>millisecondes (ms) par fichier (1 s = 1000 ms)</translation>
    </message>
    <message>
        <source>&amp;Normalize volume automatically so that all output files have the same volume</source>
        <translation>&amp;Normaliser le volume automatiquement pour que tous les fichiers de sortie aient le même volume</translation>
    </message>
    <message>
        <source>&amp;Adjust volume manually</source>
        <translation>&amp;Ajuster le volume manuellement</translation>
    </message>
    <message>
        <source>&amp;Keep original volume (do not adjust volume)</source>
        <translation>Conserver le volume d'&amp;origine (ne pas l'ajuster)</translation>
    </message>
    <message>
        <source>Normalize loudn&amp;ess to</source>
        <translation>Normaliser la sonori&amp;té à</translation>
    </message>
    <message>
        <source>&lt; 100% - Decrease volume
= 100% - No changes
&gt; 100% - Increase volume</source>
        <translation>&lt; 100% - Baisser le volume
= 100% - Aucun changement
&gt; 100% - Augmenter le volume</translation>
    </message>
    <message>
        <source>LUFS (true peak at most -1 dBTP)</source>
        <translation>LUFS (crête vraie au plus -1 dBTP)</translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation>Veuillez saisir un nombre entier positif.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Veuillez saisir un nombre entier.</translation>
    </message>
    <message>
        <source>Please enter file extensions you need to filter.</source>
        <translation>Veuillez saisir les extensions de fichier à filtrer.</translation>
    </message>
    <message>
        <source>Conversion length must be greater than 0 millisecond.</source>
        <translation>La durée de conversion doit être supérieure à 0 milliseconde.</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Dossier de sortie</translation>
    </message>
    <message>
        <source>Same as source file</source>
        <translation>Celui du fichier source</translation>
    </message>
    <message>
        <source>Specific folder</source>
        <translation>Dossier précis</translation>
    </message>
    <message>
        <source>&amp;Output folder:</source>
        <translation>Dossier de &amp;sortie :</translation>
    </message>
    <message>
        <source>&amp;Specific folder:</source>
        <translation>Dossier &amp;précis :</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>Pa&amp;rcourir</translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>&amp;Keep original directory tree</source>
        <translation>Conserver l'&amp;arborescence d'origine</translation>
    </message>
    <message>
        <source>For example: source file is &quot;/home/ann/Music/pop/track01.mp3&quot; and output folder is &quot;/data/out&quot;. If the option is checked, the output folder will be &quot;/data/out/home/ann/Music/pop/&quot;.</source>
        <translation>Par exemple : le fichier source est « /home/ann/Music/pop/track01.mp3 » et le dossier de sortie « /data/out ». Si l'option est cochée, le dossier de sortie sera « /data/out/home/ann/Music/pop/ ».</translation>
    </message>
    <message>
        <source>Output files</source>
        <translation>Fichiers de sortie</translation>
    </message>
    <message>
        <source>Rename automatically (add number at end of file name)</source>
        <translation>Renommer automatiquement (ajouter un numéro à la fin du nom)</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Skip (not convert)</source>
        <translation>Ignorer (ne pas convertir)</translation>
    </message>
    <message>
        <source>&amp;If target file exists </source>
        <translation>S&amp;i le fichier cible existe : </translation>
    </message>
    <message>
        <source>O&amp;utput files to &quot;Documents&quot; if creating file failure</source>
        <translation>Écrire dans « &amp;Documents » si la création du fichier échoue</translation>
    </message>
    <message>
        <source>Bro&amp;wse output folder when conversion completes</source>
        <translation>A&amp;fficher le dossier de sortie à la fin de la conversion</translation>
    </message>
    <message>
        <source>&amp;Verify each output: decode it back before it replaces anything</source>
        <translation>&amp;Vérifier chaque sortie : la décoder avant qu'elle ne remplace quoi que ce soit</translation>
    </message>
    <message>
        <source>Please choose an output folder:</source>
        <translation>Veuillez choisir un dossier de sortie :</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; doesn't exist yet.

Note: the program will create the folder automatically when converting files.</source>
        <translation>Le dossier « %1 » n'existe pas encore.

Remarque : le programme créera le dossier automatiquement lors de la conversion.</translation>
    </message>
    <message>
        <source>Please choose an output folder.</source>
        <translation>Veuillez choisir un dossier de sortie.</translation>
    </message>
    <message>
        <source>The output folder must be a full path that starts with &quot;/&quot;, for example &quot;/home/ann/Music&quot;.</source>
        <translation>Le dossier de sortie doit être un chemin complet commençant par « / », par exemple « /home/ann/Music ».</translation>
    </message>
    <message>
        <source>The output folder's path is too long.</source>
        <translation>Le chemin du dossier de sortie est trop long.</translation>
    </message>
    <message>
        <source>A&amp;uto (the program will choose the best options)</source>
        <translation>A&amp;uto (le programme choisit les meilleures options)</translation>
    </message>
    <message>
        <source>&amp;Codec:</source>
        <translation>&amp;Codec :</translation>
    </message>
    <message>
        <source>Sample &amp;Rate:</source>
        <translation>&amp;Fréquence :</translation>
    </message>
    <message>
        <source>&amp;Bit Rate:</source>
        <translation>Dé&amp;bit :</translation>
    </message>
    <message>
        <source>Bit &amp;Rate:</source>
        <translation>D&amp;ébit :</translation>
    </message>
    <message>
        <source>Channels:</source>
        <translation>Canaux :</translation>
    </message>
    <message>
        <source>&amp;Variable bit rate (VBR)</source>
        <translation>Débit &amp;variable (VBR)</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Rapide</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Élevée</translation>
    </message>
    <message>
        <source>Very high</source>
        <translation>Très élevée</translation>
    </message>
    <message>
        <source>Co&amp;mpression:</source>
        <translation>Co&amp;mpression :</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best sample rate)</source>
        <translation>Auto (le programme choisit la meilleure fréquence)</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best bit rate)</source>
        <translation>Auto (le programme choisit le meilleur débit)</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best channels)</source>
        <translation>Auto (le programme choisit les meilleurs canaux)</translation>
    </message>
    <message>
        <source>Auto (the program will choose the best options)</source>
        <translation>Auto (le programme choisit les meilleures options)</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>&amp;NB (Narrow Band, 8000 Hz)</source>
        <translation>&amp;NB (bande étroite, 8000 Hz)</translation>
    </message>
    <message>
        <source>&amp;WB (Wide Band, 16000 Hz)</source>
        <translation>&amp;WB (bande élargie, 16000 Hz)</translation>
    </message>
    <message>
        <source>&amp;Enable DTX (Discontinuous Transmission)</source>
        <translation>&amp;Activer le DTX (transmission discontinue)</translation>
    </message>
    <message>
        <source>Sample Frequency: 16000 Hz</source>
        <translation>Fréquence d'échantillonnage : 16000 Hz</translation>
    </message>
    <message>
        <source>&amp;Encoding Options: (sample rate, bit rate, channels)</source>
        <translation>Options d'&amp;encodage : (fréquence, débit, canaux)</translation>
    </message>
    <message>
        <source>ID3 tag</source>
        <translation>Balise ID3</translation>
    </message>
    <message>
        <source>&amp;Add custom ID3 tag</source>
        <translation>&amp;Ajouter une balise ID3 personnalisée</translation>
    </message>
    <message>
        <source>&amp;Transfer ID3 tag from source file</source>
        <translation>Trans&amp;férer la balise ID3 du fichier source</translation>
    </message>
    <message>
        <source>Transfer pictures (co&amp;ver art)</source>
        <translation>Transférer les images (po&amp;chette)</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>Aucun&amp;e</translation>
    </message>
    <message>
        <source>&amp;Write ReplayGain tags</source>
        <translation>Écrire les balises Repla&amp;yGain</translation>
    </message>
    <message>
        <source>N&amp;one</source>
        <translation>&amp;Sans</translation>
    </message>
    <message>
        <source>&amp;Sequence number in list</source>
        <translation>&amp;Position dans la liste</translation>
    </message>
    <message>
        <source>C&amp;ustom</source>
        <translation>Personnalis&amp;é</translation>
    </message>
    <message>
        <source>Track #:</source>
        <translation>N° de piste :</translation>
    </message>
    <message>
        <source>Na&amp;me as file name (not include extension)</source>
        <translation>Nom du fichier co&amp;mme titre (sans l'extension)</translation>
    </message>
    <message>
        <source>T&amp;itle:</source>
        <translation>T&amp;itre :</translation>
    </message>
    <message>
        <source>A&amp;rtist:</source>
        <translation>Ar&amp;tiste :</translation>
    </message>
    <message>
        <source>A&amp;lbum:</source>
        <translation>A&amp;lbum :</translation>
    </message>
    <message>
        <source>&amp;Year:</source>
        <translation>A&amp;nnée :</translation>
    </message>
    <message>
        <source>&amp;Comment:</source>
        <translation>C&amp;ommentaire :</translation>
    </message>
    <message>
        <source>Com&amp;poser:</source>
        <translation>Compositeu&amp;r :</translation>
    </message>
    <message>
        <source>Copyrig&amp;ht:</source>
        <translation>Copyrig&amp;ht :</translation>
    </message>
    <message>
        <source>&amp;Genre:</source>
        <translation>&amp;Genre :</translation>
    </message>
    <message>
        <source>Conversion cancelled</source>
        <translation>Conversion annulée</translation>
    </message>
    <message>
        <source>Conversion finished</source>
        <translation>Conversion terminée</translation>
    </message>
    <message>
        <source>%1 file(s) converted, %2 failed.</source>
        <translation>%1 fichier(s) converti(s), %2 en échec.</translation>
    </message>
    <message>
        <source>A conversion is running. Cancel it and quit?</source>
        <translation>Une conversion est en cours. L'annuler et quitter ?</translation>
    </message>
    <message>
        <source>Files are being added. Stop and quit?</source>
        <translation>Des fichiers sont en cours d'ajout. Arrêter et quitter ?</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Progress of the current file</source>
        <translation>Progression du fichier en cours</translation>
    </message>
    <message>
        <source>Progress of all files</source>
        <translation>Progression de tous les fichiers</translation>
    </message>
    <message>
        <source>Step up</source>
        <translation>Augmenter</translation>
    </message>
    <message>
        <source>Step down</source>
        <translation>Diminuer</translation>
    </message>
    <message>
        <source>by al&amp;bum</source>
        <translation>par al&amp;bum</translation>
    </message>
    <message>
        <source>Al&amp;bum gain too</source>
        <translation>Gain d'al&amp;bum aussi</translation>
    </message>
    <message>
        <source>&amp;Names from tags:</source>
        <translation>&amp;Noms d'après les tags :</translation>
    </message>
    <message>
        <source>Write a &amp;cue sheet beside a joined output</source>
        <translation>Écrire une feuille &amp;cue à côté d'une sortie jointe</translation>
    </message>
</context>
</TS>
