#!/usr/bin/env python3
"""Fills the German and French translation files from the table below: every source text that
the table has gets its translation, any other stays unfinished (shown in English). Run after
`cmake --build build --target update-translations` has collected new texts:
    tools/translations/fill_ts.py translations/quillory_de.ts translations/quillory_fr.ts"""
import sys
import xml.etree.ElementTree as ET

# English: (German, French)
TABLE = {
    "Save": ("Speichern", "Enregistrer"),
    "Save this entry (Ctrl+S)": ("Diesen Eintrag speichern (Strg+S)", "Enregistrer cette entrée (Ctrl+S)"),
    "&Cancel": ("&Abbrechen", "&Annuler"),
    "Fi&rst": ("E&rster", "P&remier"),
    "&Prev": ("&Zurück", "&Préc."),
    "Today": ("Heute", "Auj."),
    "&Next": ("&Weiter", "&Suiv."),
    "&Last": ("&Letzter", "&Dernier"),
    "Select a date": ("Ein Datum wählen", "Choisir une date"),
    "Hide": ("Ausblenden", "Masquer"),
    "E&xit": ("&Beenden", "&Quitter"),
    "Delete current entry": ("Aktuellen Eintrag löschen", "Supprimer l'entrée affichée"),
    "Insert Page Break": ("Seitenumbruch einfügen", "Insérer un saut de page"),
    "Paragraph properties": ("Absatzeigenschaften", "Propriétés du paragraphe"),
    "Print diary entries": ("Tagebucheinträge drucken", "Imprimer les entrées du journal"),
    "Paste an image into the text": ("Ein Bild in den Text einfügen", "Insérer une image dans le texte"),
    "Paste a symbol into the text": ("Ein Symbol in den Text einfügen", "Insérer un symbole dans le texte"),
    "Show Icon Tool": ("Symbolpalette", "Palette d'icônes"),
    "Show/hide the icon palette": ("Symbolpalette zeigen oder ausblenden", "Afficher ou masquer la palette d'icônes"),
    "Toggle word wrap off": ("Zeilenumbruch ausschalten", "Désactiver le retour à la ligne"),
    "Toggle word wrap on": ("Zeilenumbruch einschalten", "Activer le retour à la ligne"),
    "Quillory! is already running": ("Quillory! läuft bereits", "Quillory! est déjà ouvert"),
    "Terminating Quillory!": ("Quillory! wird beendet", "Fermeture de Quillory!"),
    "Select Date": ("Datum wählen", "Choisir la date"),
    "Calendar": ("Kalender", "Calendrier"),
    "Days with an entry are marked; arrow keys move by days, Page Up and Page Down by months":
        ("Tage mit einem Eintrag sind markiert; die Pfeiltasten gehen tageweise, Bild auf und Bild ab monatsweise",
         "Les jours ayant une entrée sont marqués ; les flèches avancent d'un jour, Page préc. et Page suiv. d'un mois"),
    "Default Font": ("Standardschrift", "Police par défaut"),
    "Please wait": ("Bitte warten", "Veuillez patienter"),
    "Icons": ("Symbole", "Icônes"),
    "File": ("Datei", "Fichier"),
    "Bonus Icon Sets": ("Weitere Symbolsätze", "Jeux d'icônes supplémentaires"),
    "Other...": ("Andere...", "Autre..."),
    "No bonus icon sets were found in the folder BonusIcons.":
        ("Im Ordner BonusIcons wurden keine weiteren Symbolsätze gefunden.",
         "Aucun jeu d'icônes supplémentaire n'a été trouvé dans le dossier BonusIcons."),
    "No icons found in ": ("Keine Symbole gefunden in ", "Aucune icône trouvée dans "),
    'Entries containing "%1"': ("Einträge mit „%1“", "Entrées contenant « %1 »"),
    "Searching...": ("Suche läuft...", "Recherche..."),
    "Close": ("Schließen", "Fermer"),
    "Quillory! - Password Required": ("Quillory! - Kennwort erforderlich", "Quillory! - Mot de passe requis"),
    "Please enter your password and press OK": ("Bitte Kennwort eingeben und OK drücken",
                                                 "Saisissez votre mot de passe puis appuyez sur OK"),
    "Password": ("Kennwort", "Mot de passe"),
    "Set Up Password": ("Kennwort festlegen", "Définir le mot de passe"),
    "Strong encryption (recommended)": ("Starke Verschlüsselung (empfohlen)", "Chiffrement fort (recommandé)"),
    "Simple cipher, for diaries shared with older copies": ("Einfache Verschlüsselung, für Tagebücher älterer Versionen",
                                                            "Chiffrement simple, pour les journaux des anciennes versions"),
    "Quillory Help": ("Quillory-Hilfe", "Aide de Quillory"),
    "&Contents": ("&Inhalt", "&Sommaire"),
    "&Back": ("&Zurück", "&Retour"),
    "C&lose": ("&Schließen", "&Fermer"),
    "Load Image File  ": ("Bilddatei laden  ", "Charger une image  "),
    "Place": ("Ort", "Emplacement"),
    "Folders": ("Ordner", "Dossiers"),
    "Pictures": ("Bilder", "Images"),
    "Preview": ("Vorschau", "Aperçu"),
    "Size in percent": ("Größe in Prozent", "Taille en pourcentage"),
    "Keep all pixels of a large photo": ("Alle Bildpunkte eines großen Fotos behalten", "Garder tous les pixels d'une grande photo"),
    "Find text from any entry": ("Text in allen Einträgen suchen", "Chercher un texte dans les entrées"),
    "Quillory diary": ("Quillory-Tagebuch", "Journal Quillory"),
    "Diary entry": ("Tagebucheintrag", "Entrée du journal"),
    "Diary entry, %1": ("Tagebucheintrag, %1", "Entrée du journal, %1"),
    "Normal": ("Normal", "Normal"),
    "Bold": ("Fett", "Gras"),
    "Italic": ("Kursiv", "Italique"),
    "Underline": ("Unterstrichen", "Souligné"),
    "StrikeOut": ("Durchgestrichen", "Barré"),
    "Left Justified": ("Linksbündig", "Aligné à gauche"),
    "Right Justified": ("Rechtsbündig", "Aligné à droite"),
    "Justified": ("Blocksatz", "Justifié"),
    "Centered": ("Zentriert", "Centré"),
    "Copy": ("Kopieren", "Copier"),
    "Cut": ("Ausschneiden", "Couper"),
    "Paste": ("Einfügen", "Coller"),
    "Select All": ("Alles markieren", "Tout sélectionner"),
    "Find": ("Suchen", "Rechercher"),
    "Find and Replace": ("Suchen und Ersetzen", "Rechercher et remplacer"),
    "Spell Check": ("Rechtschreibprüfung", "Orthographe"),
    "Word wrap": ("Zeilenumbruch", "Retour à la ligne"),
    "Font Size": ("Schriftgröße", "Taille de police"),
    "Font": ("Schrift", "Police"),
    "%1 (%2)": ("%1 (%2)", "%1 (%2)"),
    'The diary was backed up and checked: %1 in "%2".': ("Das Tagebuch wurde gesichert und geprüft: %1 in „%2“.",
                                                         "Le journal a été sauvegardé et vérifié : %1 dans « %2 »."),
    "Quillory! will close now. Start it again to finish the restore.":
        ("Quillory! wird jetzt beendet. Starten Sie es erneut, um die Wiederherstellung abzuschließen.",
         "Quillory! va se fermer. Relancez-le pour terminer la restauration."),
    "The restored diary has a password of its own. Please enter it.":
        ("Das wiederhergestellte Tagebuch hat ein eigenes Kennwort. Bitte geben Sie es ein.",
         "Le journal restauré a son propre mot de passe. Veuillez le saisir."),
    "Diary Folder...": ("Tagebuchordner...", "Dossier du journal..."),
    "A portable copy keeps its diary beside the program.": ("Eine portable Kopie hält ihr Tagebuch neben dem Programm.",
                                                            "Une copie portable garde son journal à côté du programme."),
    "&File": ("&Datei", "&Fichier"),
    "Select or Change Password": ("Kennwort festlegen oder ändern", "Définir ou changer le mot de passe"),
    "Print Setup": ("Druckereinrichtung", "Configuration de l'impression"),
    "Print": ("Drucken", "Imprimer"),
    "Export to RTF (Rich Text Format)": ("Als RTF exportieren (Rich Text Format)", "Exporter en RTF (Rich Text Format)"),
    "Back Up Diary...": ("Tagebuch sichern...", "Sauvegarder le journal..."),
    "Restore Diary...": ("Tagebuch wiederherstellen...", "Restaurer le journal..."),
    "&Edit": ("&Bearbeiten", "É&dition"),
    "Delete Selection": ("Markierung löschen", "Supprimer la sélection"),
    "Save Changes": ("Änderungen speichern", "Enregistrer les modifications"),
    "Delete Entry": ("Eintrag löschen", "Supprimer l'entrée"),
    "&Spell Check": ("&Rechtschreibprüfung", "&Orthographe"),
    "Insert Today's &Date ": ("Heutiges &Datum einfügen ", "Insérer la &date du jour "),
    "Insert Current Time": ("Aktuelle Uhrzeit einfügen", "Insérer l'heure"),
    "&Wrap Text to fit Screen": ("Text am Fensterrand &umbrechen", "&Ajuster le texte à la fenêtre"),
    "Change Default Font": ("Standardschrift ändern", "Changer la police par défaut"),
    "F&ind": ("&Suchen", "&Rechercher"),
    "&Find in Current Entry": ("Im aktuellen Eintrag &suchen", "Rechercher dans l'entrée &affichée"),
    "&Replace in Current Entry": ("Im aktuellen Eintrag &ersetzen", "&Remplacer dans l'entrée affichée"),
    "Find Any Entry Containing...": ("Eintrag suchen mit...", "Chercher une entrée contenant..."),
    "Find Next Entry Containing...": ("Nächsten Eintrag suchen mit...", "Chercher l'entrée suivante contenant..."),
    "Find All Entries Containing...": ("Alle Einträge suchen mit...", "Chercher toutes les entrées contenant..."),
    "&Help": ("&Hilfe", "&Aide"),
    "Contents": ("Inhalt", "Sommaire"),
    "About": ("Über Quillory", "À propos"),
    "No printers installed": ("Kein Drucker eingerichtet", "Aucune imprimante installée"),
    "No matches": ("Keine Treffer", "Aucun résultat"),
    "Find all entries containing": ("Alle Einträge suchen mit", "Chercher toutes les entrées contenant"),
    "Paragraph Properties": ("Absatzeigenschaften", "Propriétés du paragraphe"),
    "Cancel": ("Abbrechen", "Annuler"),
    "OK": ("OK", "OK"),
    "Ok": ("OK", "OK"),
    "Specify spacing before paragraph in points (1 point=1/72 inch)":
        ("Abstand vor dem Absatz in Punkt (1 Punkt = 1/72 Zoll)", "Espace avant le paragraphe en points (1 point = 1/72 pouce)"),
    "Specify spacing after paragraph in points (1 point=1/72 inch)":
        ("Abstand nach dem Absatz in Punkt (1 Punkt = 1/72 Zoll)", "Espace après le paragraphe en points (1 point = 1/72 pouce)"),
    "First indent by": ("Erste Zeile einrücken um", "Retrait de première ligne de"),
    "Specify left indent for the paragraph in ": ("Linker Einzug des Absatzes in ", "Retrait gauche du paragraphe en "),
    "Specify right indent for the paragraph in ": ("Rechter Einzug des Absatzes in ", "Retrait droit du paragraphe en "),
    "Specify first line indent for the paragraph in ": ("Einzug der ersten Zeile in ", "Retrait de la première ligne en "),
    "Print Options": ("Druckoptionen", "Options d'impression"),
    "Print each page separately": ("Jede Seite einzeln drucken", "Imprimer chaque page séparément"),
    "Print each diary entry (day) on its own page": ("Jeden Eintrag (Tag) auf eine eigene Seite drucken",
                                                     "Imprimer chaque entrée (jour) sur sa propre page"),
    "Merge pages ": ("Seiten zusammenfassen ", "Regrouper les pages "),
    "Print as many diary entries per page as possible to conserve paper":
        ("So viele Einträge wie möglich auf eine Seite drucken, um Papier zu sparen",
         "Imprimer autant d'entrées que possible par page pour économiser le papier"),
    "Write the pages into a PDF file instead of printing them": ("Die Seiten in eine PDF-Datei schreiben statt sie zu drucken",
                                                                 "Écrire les pages dans un fichier PDF au lieu de les imprimer"),
    "Print Status": ("Druckstatus", "État de l'impression"),
    "Export Options (Export to RTF Format)": ("Exportoptionen (Export als RTF)", "Options d'exportation (export en RTF)"),
    "Browse...": ("Durchsuchen...", "Parcourir..."),
    "Pick the folder from a list": ("Den Ordner aus einer Liste wählen", "Choisir le dossier dans une liste"),
    "Please choose an existing folder to save to": ("Bitte einen vorhandenen Ordner zum Speichern wählen",
                                                    "Veuillez choisir un dossier existant pour l'enregistrement"),
    "Quillory!": ("Quillory!", "Quillory!"),
    "Do not show this message again": ("Diese Meldung nicht mehr anzeigen", "Ne plus afficher ce message"),
    "Spell check complete": ("Rechtschreibprüfung abgeschlossen", "Vérification orthographique terminée"),
    "About Quillory!": ("Über Quillory!", "À propos de Quillory!"),
    "Version %1": ("Version %1", "Version %1"),
    "Your diary is kept in:": ("Ihr Tagebuch liegt in:", "Votre journal se trouve dans :"),
    "Symbol Selector": ("Symbolauswahl", "Choix de symboles"),
    "Select a symbol font set": ("Eine Symbolschrift wählen", "Choisir une police de symboles"),
    "Symbols": ("Symbole", "Symboles"),
    "Copy the selected symbol to the label": ("Das gewählte Symbol übernehmen", "Copier le symbole choisi"),
    "&Up": ("&Aufwärts", "Vers le &haut"),
    "&Down": ("A&bwärts", "Vers le &bas"),
    "Match &case": ("&Groß-/Kleinschreibung beachten", "Respecter la &casse"),
    "Match &whole word only": ("Nur &ganze Wörter", "&Mots entiers uniquement"),
    "&Find Next": ("&Weitersuchen", "&Suivant"),
    "Direction": ("Richtung", "Direction"),
    "Fi&nd what:": ("&Suchen nach:", "&Rechercher :"),
    "Find what": ("Suchen nach", "Rechercher"),
    "Replace": ("Ersetzen", "Remplacer"),
    "&Replace": ("&Ersetzen", "&Remplacer"),
    "Replace &All": ("&Alle ersetzen", "Remplacer &tout"),
    "Re&place with:": ("Ersetzen &durch:", "Rem&placer par :"),
    "Replace with": ("Ersetzen durch", "Remplacer par"),
    "Warning!": ("Warnung!", "Avertissement !"),
    "&Undo": ("&Rückgängig", "&Annuler l'action"),
    "&Redo": ("&Wiederholen", "&Rétablir"),
    "Dark Page": ("Dunkle Seite", "Page sombre"),
    "&View": ("&Ansicht", "&Affichage"),
}
PLURALS = {
    "%n replacement(s) made.": (["%n Ersetzung vorgenommen.", "%n Ersetzungen vorgenommen."],
                                ["%n remplacement effectué.", "%n remplacements effectués."]),
}


def fill(path, column):
    tree = ET.parse(path)
    done = 0
    for message in tree.iter("message"):
        source = message.find("source").text or ""
        translation = message.find("translation")
        if source in PLURALS:
            for child in list(translation):
                translation.remove(child)
            translation.text = None
            for form in PLURALS[source][column]:
                ET.SubElement(translation, "numerusform").text = form
        elif source in TABLE:
            translation.text = TABLE[source][column]
        else:
            continue
        translation.attrib.pop("type", None)
        done += 1
    tree.write(path, encoding="utf-8", xml_declaration=True)
    return done


if __name__ == "__main__":
    for path in sys.argv[1:]:
        column = 0 if path.endswith("_de.ts") else 1
        print(path, fill(path, column), "translated")
