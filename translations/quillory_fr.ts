<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="fr_FR">
<context>
    <name>MainScreen</name>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Save this entry (Ctrl+S)</source>
        <translation>Enregistrer cette entrée (Ctrl+S)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Fi&amp;rst</source>
        <translation>P&amp;remier</translation>
    </message>
    <message>
        <source>&amp;Prev</source>
        <translation>&amp;Préc.</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Auj.</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Suiv.</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>&amp;Dernier</translation>
    </message>
    <message>
        <source>Select a date</source>
        <translation>Choisir une date</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Delete current entry</source>
        <translation>Supprimer l'entrée affichée</translation>
    </message>
    <message>
        <source>Insert Page Break</source>
        <translation>Insérer un saut de page</translation>
    </message>
    <message>
        <source>Paragraph properties</source>
        <translation>Propriétés du paragraphe</translation>
    </message>
    <message>
        <source>Print diary entries</source>
        <translation>Imprimer les entrées du journal</translation>
    </message>
    <message>
        <source>Paste an image into the text</source>
        <translation>Insérer une image dans le texte</translation>
    </message>
    <message>
        <source>Paste a symbol into the text</source>
        <translation>Insérer un symbole dans le texte</translation>
    </message>
    <message>
        <source>Show Icon Tool</source>
        <translation>Palette d'icônes</translation>
    </message>
    <message>
        <source>Show/hide the icon palette</source>
        <translation>Afficher ou masquer la palette d'icônes</translation>
    </message>
    <message>
        <source>Toggle word wrap off</source>
        <translation>Désactiver le retour à la ligne</translation>
    </message>
    <message>
        <source>Toggle word wrap on</source>
        <translation>Activer le retour à la ligne</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Quillory! is already running</source>
        <translation>Quillory! est déjà ouvert</translation>
    </message>
    <message>
        <source>Terminating Quillory!</source>
        <translation>Fermeture de Quillory!</translation>
    </message>
</context>
<context>
    <name>quillory::TDateSelector</name>
    <message>
        <source>Select Date</source>
        <translation>Choisir la date</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>Days with an entry are marked; arrow keys move by days, Page Up and Page Down by months</source>
        <translation>Les jours ayant une entrée sont marqués ; les flèches avancent d'un jour, Page préc. et Page suiv. d'un mois</translation>
    </message>
</context>
<context>
    <name>quillory::TDefaultFontDialog</name>
    <message>
        <source>Default Font</source>
        <translation>Police par défaut</translation>
    </message>
</context>
<context>
    <name>quillory::TExportProgress</name>
    <message>
        <source>Please wait</source>
        <translation>Veuillez patienter</translation>
    </message>
</context>
<context>
    <name>quillory::TFloatingPalette</name>
    <message>
        <source>Icons</source>
        <translation>Icônes</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Bonus Icon Sets</source>
        <translation>Jeux d'icônes supplémentaires</translation>
    </message>
    <message>
        <source>Other...</source>
        <translation>Autre...</translation>
    </message>
    <message>
        <source>No bonus icon sets were found in the folder BonusIcons.</source>
        <translation>Aucun jeu d'icônes supplémentaire n'a été trouvé dans le dossier BonusIcons.</translation>
    </message>
    <message>
        <source>No icons found in </source>
        <translation>Aucune icône trouvée dans </translation>
    </message>
</context>
<context>
    <name>quillory::TFoundEntries</name>
    <message>
        <source>Entries containing "%1"</source>
        <translation>Entrées contenant « %1 »</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Recherche...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>quillory::TGetOpeningPassword</name>
    <message>
        <source>Quillory! - Password Required</source>
        <translation>Quillory! - Mot de passe requis</translation>
    </message>
    <message>
        <source>Please enter your password and press OK</source>
        <translation>Saisissez votre mot de passe puis appuyez sur OK</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
</context>
<context>
    <name>quillory::TGetPassword</name>
    <message>
        <source>Set Up Password</source>
        <translation>Définir le mot de passe</translation>
    </message>
    <message>
        <source>Strong encryption (recommended)</source>
        <translation>Chiffrement fort (recommandé)</translation>
    </message>
    <message>
        <source>Simple cipher, for diaries shared with older copies</source>
        <translation>Chiffrement simple, pour les journaux des anciennes versions</translation>
    </message>
</context>
<context>
    <name>quillory::THelpWindow</name>
    <message>
        <source>Quillory Help</source>
        <translation>Aide de Quillory</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Retour</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Fermer</translation>
    </message>
</context>
<context>
    <name>quillory::TImageBrowser</name>
    <message>
        <source>Load Image File  </source>
        <translation>Charger une image  </translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Emplacement</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Size in percent</source>
        <translation>Taille en pourcentage</translation>
    </message>
    <message>
        <source>Keep all pixels of a large photo</source>
        <translation>Garder tous les pixels d'une grande photo</translation>
    </message>
</context>
<context>
    <name>quillory::TLookForAll</name>
    <message>
        <source>Find text from any entry</source>
        <translation>Chercher un texte dans les entrées</translation>
    </message>
</context>
<context>
    <name>quillory::TMainScreen</name>
    <message>
        <source>Quillory diary</source>
        <translation>Journal Quillory</translation>
    </message>
    <message>
        <source>Diary entry</source>
        <translation>Entrée du journal</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Gras</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italique</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Souligné</translation>
    </message>
    <message>
        <source>StrikeOut</source>
        <translation>Barré</translation>
    </message>
    <message>
        <source>Left Justified</source>
        <translation>Aligné à gauche</translation>
    </message>
    <message>
        <source>Right Justified</source>
        <translation>Aligné à droite</translation>
    </message>
    <message>
        <source>Justified</source>
        <translation>Justifié</translation>
    </message>
    <message>
        <source>Centered</source>
        <translation>Centré</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout sélectionner</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Find and Replace</source>
        <translation>Rechercher et remplacer</translation>
    </message>
    <message>
        <source>Spell Check</source>
        <translation>Orthographe</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>Terminating Quillory!</source>
        <translation>Fermeture de Quillory!</translation>
    </message>
    <message>
        <source>Word wrap</source>
        <translation>Retour à la ligne</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Taille de police</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Police</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The diary was backed up and checked: %1 in "%2".</source>
        <translation>Le journal a été sauvegardé et vérifié : %1 dans « %2 ».</translation>
    </message>
    <message>
        <source>Quillory! will close now. Start it again to finish the restore.</source>
        <translation>Quillory! va se fermer. Relancez-le pour terminer la restauration.</translation>
    </message>
    <message>
        <source>The restored diary has a password of its own. Please enter it.</source>
        <translation>Le journal restauré a son propre mot de passe. Veuillez le saisir.</translation>
    </message>
    <message>
        <source>Diary Folder...</source>
        <translation>Dossier du journal...</translation>
    </message>
    <message>
        <source>A portable copy keeps its diary beside the program.</source>
        <translation>Une copie portable garde son journal à côté du programme.</translation>
    </message>
    <message>
        <source>Diary entry, %1</source>
        <translation>Entrée du journal, %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>Select or Change Password</source>
        <translation>Définir ou changer le mot de passe</translation>
    </message>
    <message>
        <source>Print Setup</source>
        <translation>Configuration de l'impression</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Export to RTF (Rich Text Format)</source>
        <translation>Exporter en RTF (Rich Text Format)</translation>
    </message>
    <message>
        <source>Back Up Diary...</source>
        <translation>Sauvegarder le journal...</translation>
    </message>
    <message>
        <source>Restore Diary...</source>
        <translation>Restaurer le journal...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>Delete Selection</source>
        <translation>Supprimer la sélection</translation>
    </message>
    <message>
        <source>Save Changes</source>
        <translation>Enregistrer les modifications</translation>
    </message>
    <message>
        <source>Delete Entry</source>
        <translation>Supprimer l'entrée</translation>
    </message>
    <message>
        <source>&amp;Spell Check</source>
        <translation>&amp;Orthographe</translation>
    </message>
    <message>
        <source>Insert Today's &amp;Date </source>
        <translation>Insérer la &amp;date du jour </translation>
    </message>
    <message>
        <source>Insert Current Time</source>
        <translation>Insérer l'heure</translation>
    </message>
    <message>
        <source>&amp;Wrap Text to fit Screen</source>
        <translation>&amp;Ajuster le texte à la fenêtre</translation>
    </message>
    <message>
        <source>Change Default Font</source>
        <translation>Changer la police par défaut</translation>
    </message>
    <message>
        <source>F&amp;ind</source>
        <translation>&amp;Rechercher</translation>
    </message>
    <message>
        <source>&amp;Find in Current Entry</source>
        <translation>Rechercher dans l'entrée &amp;affichée</translation>
    </message>
    <message>
        <source>&amp;Replace in Current Entry</source>
        <translation>&amp;Remplacer dans l'entrée affichée</translation>
    </message>
    <message>
        <source>Find Any Entry Containing...</source>
        <translation>Chercher une entrée contenant...</translation>
    </message>
    <message>
        <source>Find Next Entry Containing...</source>
        <translation>Chercher l'entrée suivante contenant...</translation>
    </message>
    <message>
        <source>Find All Entries Containing...</source>
        <translation>Chercher toutes les entrées contenant...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Sommaire</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>No printers installed</source>
        <translation>Aucune imprimante installée</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Recherche...</translation>
    </message>
    <message>
        <source>No matches</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>Find all entries containing</source>
        <translation>Chercher toutes les entrées contenant</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler l'action</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Dark Page</source>
        <translation>Page sombre</translation>
    </message>
</context>
<context>
    <name>quillory::TParagraphPropDlg</name>
    <message>
        <source>Paragraph Properties</source>
        <translation>Propriétés du paragraphe</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Specify spacing before paragraph in points (1 point=1/72 inch)</source>
        <translation>Espace avant le paragraphe en points (1 point = 1/72 pouce)</translation>
    </message>
    <message>
        <source>Specify spacing after paragraph in points (1 point=1/72 inch)</source>
        <translation>Espace après le paragraphe en points (1 point = 1/72 pouce)</translation>
    </message>
    <message>
        <source>First indent by</source>
        <translation>Retrait de première ligne de</translation>
    </message>
    <message>
        <source>Specify left indent for the paragraph in </source>
        <translation>Retrait gauche du paragraphe en </translation>
    </message>
    <message>
        <source>Specify right indent for the paragraph in </source>
        <translation>Retrait droit du paragraphe en </translation>
    </message>
    <message>
        <source>Specify first line indent for the paragraph in </source>
        <translation>Retrait de la première ligne en </translation>
    </message>
</context>
<context>
    <name>quillory::TPrintOptions</name>
    <message>
        <source>Print Options</source>
        <translation>Options d'impression</translation>
    </message>
    <message>
        <source>Print each page separately</source>
        <translation>Imprimer chaque page séparément</translation>
    </message>
    <message>
        <source>Print each diary entry (day) on its own page</source>
        <translation>Imprimer chaque entrée (jour) sur sa propre page</translation>
    </message>
    <message>
        <source>Merge pages </source>
        <translation>Regrouper les pages </translation>
    </message>
    <message>
        <source>Print as many diary entries per page as possible to conserve paper</source>
        <translation>Imprimer autant d'entrées que possible par page pour économiser le papier</translation>
    </message>
    <message>
        <source>Write the pages into a PDF file instead of printing them</source>
        <translation>Écrire les pages dans un fichier PDF au lieu de les imprimer</translation>
    </message>
</context>
<context>
    <name>quillory::TPrintStatusForm</name>
    <message>
        <source>Print Status</source>
        <translation>État de l'impression</translation>
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
        <translation>Options d'exportation (export en RTF)</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Parcourir...</translation>
    </message>
    <message>
        <source>Pick the folder from a list</source>
        <translation>Choisir le dossier dans une liste</translation>
    </message>
    <message>
        <source>Please choose an existing folder to save to</source>
        <translation>Veuillez choisir un dossier existant pour l'enregistrement</translation>
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
        <translation>Ne plus afficher ce message</translation>
    </message>
</context>
<context>
    <name>quillory::TSpellCheckDialog</name>
    <message>
        <source>Spell Check</source>
        <translation>Orthographe</translation>
    </message>
    <message>
        <source>Spell check complete</source>
        <translation>Vérification orthographique terminée</translation>
    </message>
</context>
<context>
    <name>quillory::TSplashform</name>
    <message>
        <source>About Quillory!</source>
        <translation>À propos de Quillory!</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Your diary is kept in:</source>
        <translation>Votre journal se trouve dans :</translation>
    </message>
</context>
<context>
    <name>quillory::TSymbolSelector</name>
    <message>
        <source>Symbol Selector</source>
        <translation>Choix de symboles</translation>
    </message>
    <message>
        <source>Select a symbol font set</source>
        <translation>Choisir une police de symboles</translation>
    </message>
    <message>
        <source>Symbols</source>
        <translation>Symboles</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Copy the selected symbol to the label</source>
        <translation>Copier le symbole choisi</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>quillory::TWPFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Vers le &amp;haut</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Vers le &amp;bas</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Respecter la &amp;casse</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>&amp;Mots entiers uniquement</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Suivant</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Rechercher :</translation>
    </message>
    <message>
        <source>Find what</source>
        <translation>Rechercher</translation>
    </message>
</context>
<context>
    <name>quillory::TWPReplaceDialog</name>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Remplacer</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>Remplacer &amp;tout</translation>
    </message>
    <message>
        <source>Re&amp;place with:</source>
        <translation>Rem&amp;placer par :</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Remplacer par</translation>
    </message>
    <message numerus="yes">
        <source>%n replacement(s) made.</source>
        <translation><numerusform>%n remplacement effectué.</numerusform><numerusform>%n remplacements effectués.</numerusform></translation>
    </message>
</context>
<context>
    <name>quillory::TWarningScreen</name>
    <message>
        <source>Warning!</source>
        <translation>Avertissement !</translation>
    </message>
    <message>
        <source>-QL.INI, in the diary folder %1</source>
        <translation type="unfinished" />
    </message>
</context>
</TS>