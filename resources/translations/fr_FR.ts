<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="es_ES">
<context>
    <name>DCalculator</name>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>+-</source>
        <translation>+-</translation>
    </message>
    <message>
        <source>Backspace</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Tout effacer</translation>
    </message>
    <message>
        <source>MC</source>
        <translation>MC</translation>
    </message>
    <message>
        <source>MR</source>
        <translation>MR</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>MS</translation>
    </message>
    <message>
        <source>M+</source>
        <translation>M+</translation>
    </message>
    <message>
        <source>/</source>
        <translation>/</translation>
    </message>
    <message>
        <source>*</source>
        <translation>*</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Sqrt</source>
        <translation>√</translation>
    </message>
    <message>
        <source>x^2</source>
        <translation>x^2</translation>
    </message>
    <message>
        <source>1/x</source>
        <translation>1/x</translation>
    </message>
    <message>
        <source>=</source>
        <translation>=</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Calculatrice</translation>
    </message>
</context>
<context>
    <name>DClock</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Clock Mode</source>
        <translation>Mode horloge</translation>
    </message>
    <message>
        <source>Timer Mode</source>
        <translation>Chronomètre</translation>
    </message>
    <message>
        <source>Countdown Mode</source>
        <translation>Compte à rebours</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Agrandir</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Translucent</source>
        <translation>Translucide</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Opaque</translation>
    </message>
    <message>
        <source>Display LCD</source>
        <translation>Affichage LCD</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Masquer</translation>
    </message>
</context>
<context>
    <name>DCompass</name>
    <message>
        <source>Semicircunferencia</source>
        <translation>Demi-cercle</translation>
    </message>
    <message>
        <source>Circunferencia</source>
        <translation>Cercle</translation>
    </message>
</context>
<context>
    <name>DFlashPlayer</name>
    <message>
        <source>Flash</source>
        <translation>Flash</translation>
    </message>
</context>
<context>
    <name>DLabel</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
</context>
<context>
    <name>DMainUi</name>
    <message>
        <source>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</source>
        <translation>Veltorina %1

Tableau blanc interactif pour la salle de classe.
Écrit et maintenu par l&apos;équipe de développement de Veltorina.</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Sélectionner</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Bureau</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Menú</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Páginas</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Pinceles</source>
        <translation>Stylos</translation>
    </message>
    <message>
        <source>Figuras</source>
        <translation>Formes</translation>
    </message>
    <message>
        <source>Borradores</source>
        <translation>Gommes</translation>
    </message>
    <message>
        <source>Objectos multimedia</source>
        <translation>Multimédia</translation>
    </message>
    <message>
        <source>Acciones de página</source>
        <translation>Actions de page</translation>
    </message>
    <message>
        <source>Herramientas</source>
        <translation>Outils</translation>
    </message>
    <message>
        <source>Recursos</source>
        <translation>Ressources</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Page blanche</translation>
    </message>
    <message>
        <source>Página Transparente</source>
        <translation>Page transparente</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Page de capture</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Page d&apos;image</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Effacer la page</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Supprimer la page</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Crayon</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Surligneur</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Stylo plume</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Stylo intelligent</translation>
    </message>
    <message>
        <source>Borrador de objeto</source>
        <translation>Gomme à objets</translation>
    </message>
    <message>
        <source>Borrador grande</source>
        <translation>Grande gomme</translation>
    </message>
    <message>
        <source>Borrador mediano</source>
        <translation>Gomme moyenne</translation>
    </message>
    <message>
        <source>Borrador pequeño</source>
        <translation>Petite gomme</translation>
    </message>
    <message>
        <source>Línea</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Triángulo rectangulo</source>
        <translation>Triangle rectangle</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Pentagone</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Hexagone</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Flèche</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cube</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cône</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Carré</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Cercle</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Étoile</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Losange</translation>
    </message>
    <message>
        <source>Doble Flecha</source>
        <translation>Double flèche</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cylindre</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Rectangle arrondi</translation>
    </message>
    <message>
        <source>Imagen</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Vídeo</source>
        <translation>Vidéo</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Ampliar página</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Déplacer la page</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Reducir página</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Vue initiale</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Projecteur</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Loupe</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Règle</translation>
    </message>
    <message>
        <source>Compas</source>
        <translation>Compas</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Partager l&apos;écran</translation>
    </message>
    <message>
        <source>Cortina</source>
        <translation>Rideau</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Horloge</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Équerre</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Rapporteur</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculatrice</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Transparencia</source>
        <translation>Transparence</translation>
    </message>
    <message>
        <source>Grosor</source>
        <translation>Épaisseur</translation>
    </message>
    <message>
        <source>Estilo</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Ocultar barra</source>
        <translation>Masquer la barre</translation>
    </message>
    <message>
        <source>Objetos multimedia</source>
        <translation>Multimédia</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Estilográfica</source>
        <translation>Stylo plume</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Gomme</translation>
    </message>
    <message>
        <source>Salir modo multiusuario</source>
        <translation>Quitter le mode multi-utilisateur</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
</context>
<context>
    <name>DPage</name>
    <message>
        <source>Importando «%1»…</source>
        <translation>Importation de « %1 »…</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Abrir Imagen</source>
        <translation>Ouvrir une image</translation>
    </message>
    <message>
        <source>Abrir Documento</source>
        <translation>Ouvrir un document</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Ouvrir une vidéo</translation>
    </message>
    <message>
        <source>Error al insertar el vídeo</source>
        <translation>Impossible d&apos;insérer la vidéo</translation>
    </message>
    <message>
        <source>Abrir Audio</source>
        <translation>Ouvrir un son</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Erreur lors de l&apos;enregistrement de la vidéo</translation>
    </message>
    <message>
        <source>No se ha encontrado el programa de actividades</source>
        <translation>Le programme d&apos;activités est introuvable</translation>
    </message>
    <message>
        <source>Error al iniciar el programa de actividades</source>
        <translation>Erreur au démarrage du programme d&apos;activités</translation>
    </message>
    <message>
        <source>Error al abrir el navegador</source>
        <translation>Erreur à l&apos;ouverture du navigateur</translation>
    </message>
    <message>
        <source>Editar enlace</source>
        <translation>Modifier le lien</translation>
    </message>
    <message>
        <source>Inserte un enlace web</source>
        <translation>Saisissez un lien web</translation>
    </message>
    <message>
        <source>Inserte número de página a enlazar</source>
        <translation>Saisissez le numéro de la page à lier</translation>
    </message>
    <message>
        <source>Desea limpiar la página</source>
        <translation>Effacer cette page ?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>Ouvrir un son</translation>
    </message>
    <message>
        <source>Error al convertir a texto</source>
        <translation>Erreur lors de la conversion en texte</translation>
    </message>
</context>
<context>
    <name>DPagesList</name>
    <message>
        <source>Open Image</source>
        <translation>Ouvrir une image</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Desea restaurar el archivo no guardado</source>
        <translation>Restaurer le fichier non enregistré ?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Error al guardar archivo</source>
        <translation>Erreur lors de l&apos;enregistrement du fichier</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Desea Guardar el Archivo</source>
        <translation>Enregistrer le fichier ?</translation>
    </message>
    <message>
        <source>Desea guardar el archivo</source>
        <translation>Enregistrer le fichier ?</translation>
    </message>
    <message>
        <source>Desea exportar el archivo</source>
        <translation>Exporter le fichier ?</translation>
    </message>
    <message>
        <source>Guardar archivo</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>Exportar archivo</source>
        <translation>Exporter le fichier</translation>
    </message>
    <message>
        <source>Abrir Archivo</source>
        <translation>Ouvrir un fichier</translation>
    </message>
    <message>
        <source>Error al abrir archivo</source>
        <translation>Erreur à l&apos;ouverture du fichier</translation>
    </message>
    <message>
        <source>Error al exportar archivo</source>
        <translation>Erreur lors de l&apos;exportation du fichier</translation>
    </message>
    <message>
        <source>El documento está dañado y no se ha podido abrir entero.</source>
        <translation>Le document est endommagé et n&apos;a pas pu être ouvert en entier.</translation>
    </message>
    <message>
        <source>El documento se ha guardado sin estos archivos, que no se encuentran:</source>
        <translation>Le document a été enregistré sans ces fichiers, introuvables :</translation>
    </message>
    <message>
        <source>Guardando el documento…</source>
        <translation>Enregistrement du document…</translation>
    </message>
    <message>
        <source>Abriendo el documento…</source>
        <translation>Ouverture du document…</translation>
    </message>
    <message>
        <source>Exportando el documento…</source>
        <translation>Exportation du document…</translation>
    </message>
    <message>
        <source>El archivo %1 ya existe.</source>
        <translation>Le fichier %1 existe déjà.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlo?</source>
        <translation>Voulez-vous le remplacer ?</translation>
    </message>
    <message>
        <source>Los archivos de la carpeta %1 ya existen.</source>
        <translation>Les fichiers du dossier %1 existent déjà.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlos?</source>
        <translation>Voulez-vous les remplacer ?</translation>
    </message>
    <message>
        <source>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</source>
        <translation>La copie automatique du document n&apos;a pas pu être enregistrée : si le programme se ferme de manière inattendue, les dernières modifications seront perdues.</translation>
    </message>
    <message>
        <source>La lección se ha importado con estos cambios:</source>
        <translation>La leçon a été importée avec ces changements :</translation>
    </message>
    <message>
        <source>La lección se ha abierto con estos cambios:</source>
        <translation>La leçon a été ouverte avec ces changements :</translation>
    </message>
    <message>
        <source>… y %1 más.</source>
        <translation>… et %1 de plus.</translation>
    </message>
</context>
<context>
    <name>DProtractor</name>
    <message>
        <source>Arco</source>
        <translation>Arc</translation>
    </message>
    <message>
        <source>Porción</source>
        <translation>Secteur</translation>
    </message>
    <message>
        <source>Cuerda</source>
        <translation>Corde</translation>
    </message>
    <message>
        <source>Ángulo</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Triangulo</source>
        <translation>Triangle</translation>
    </message>
</context>
<context>
    <name>DResources</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
</context>
<context>
    <name>DRichTextEditor</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>#widget_3 {
	background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:0, stop:0 rgba(172, 172, 172, 255), stop:1 rgba(233, 233, 233, 255));
}</source>
        <translation>#widget_3 {
	background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:0, stop:0 rgba(172, 172, 172, 255), stop:1 rgba(233, 233, 233, 255));
}</translation>
    </message>
    <message>
        <source>QPushButton {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}
QPushButton:checked {
	background-color: rgb(21, 169, 255);
}</source>
        <translation>QPushButton {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}
QPushButton:checked {
	background-color: rgb(21, 169, 255);
}</translation>
    </message>
    <message>
        <source>QFrame {
	background-color: rgb(0, 0, 0);
}
QFrame:hover {
	background-color: rgb(110, 110, 110);
}</source>
        <translation>QFrame {
	background-color: rgb(0, 0, 0);
}
QFrame:hover {
	background-color: rgb(110, 110, 110);
}</translation>
    </message>
    <message>
        <source>QPushButton {
	color: rgb(255, 0, 0);
	font-size: 40pt;
	background-color: rgb(255, 255, 255);
	border-top-left-radius: 3px;
	border-bottom-left-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}</source>
        <translation>QPushButton {
	color: rgb(255, 0, 0);
	font-size: 40pt;
	background-color: rgb(255, 255, 255);
	border-top-left-radius: 3px;
	border-bottom-left-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>QPushButton {
	background-color: rgb(210, 210, 210);
	border-top-right-radius: 3px;
	border-bottom-right-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}</source>
        <translation>QPushButton {
	background-color: rgb(210, 210, 210);
	border-top-right-radius: 3px;
	border-bottom-right-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}</translation>
    </message>
    <message>
        <source>QPushButton {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}</source>
        <translation>QPushButton {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
QPushButton:hover {
	background-color: rgb(72, 72, 72);
}</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Editar Texto</source>
        <translation>Modifier le texte</translation>
    </message>
</context>
<context>
    <name>DScreenRecord</name>
    <message>
        <source>Ya hay una grabación en curso</source>
        <translation>Un enregistrement est déjà en cours</translation>
    </message>
    <message>
        <source>Error al iniciar la grabación</source>
        <translation>Erreur au démarrage de l&apos;enregistrement</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Erreur lors de l&apos;enregistrement de la vidéo</translation>
    </message>
    <message>
        <source>Error al grabar la pantalla</source>
        <translation>Erreur lors de l&apos;enregistrement de l&apos;écran</translation>
    </message>
    <message>
        <source>Convirtiendo la grabación…</source>
        <translation>Conversion de l’enregistrement…</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>DSetting</name>
    <message>
        <source>Estandar</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Enfants</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Classique</translation>
    </message>
    <message>
        <source>Interfaz por defecto</source>
        <translation>Interface par défaut</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Espagnol</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russe</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portugais</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Allemand</translation>
    </message>
    <message>
        <source>Idioma por defecto</source>
        <translation>Langue par défaut</translation>
    </message>
    <message>
        <source>Autoguardado (min)</source>
        <translation>Sauvegarde auto (min)</translation>
    </message>
    <message>
        <source>Color de página por defecto</source>
        <translation>Couleur de page par défaut</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Restaurar Valores por Defecto</source>
        <translation>Rétablir les valeurs par défaut ?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
</context>
<context>
    <name>DShareScreen</name>
    <message>
        <source>Compartir con los demás</source>
        <translation>Partager avec les autres</translation>
    </message>
    <message>
        <source>Compartir pantalla con los demás</source>
        <translation>Partager l&apos;écran avec les autres</translation>
    </message>
    <message>
        <source>Conectando...</source>
        <translation>Connexion...</translation>
    </message>
    <message>
        <source>Escanea el siguiente codigo QR</source>
        <translation>Scannez ce code QR</translation>
    </message>
    <message>
        <source>No se puede abrir el puerto %1</source>
        <translation>Impossible d&apos;ouvrir le port %1</translation>
    </message>
    <message>
        <source>Puede que otro programa lo esté usando</source>
        <translation>Un autre programme l&apos;utilise peut-être</translation>
    </message>
    <message>
        <source>Sin conexión</source>
        <translation>Non connecté</translation>
    </message>
</context>
<context>
    <name>DShortUi</name>
    <message>
        <source>Veltorisa</source>
        <translation>Veltorisa</translation>
    </message>
    <message>
        <source>Página transparente</source>
        <translation>Page transparente</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Sélectionner</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Crayon</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Surligneur</translation>
    </message>
    <message>
        <source>Borrador de objetos</source>
        <translation>Gomme à objets</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Effacer la page</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>DTableDlg</name>
    <message>
        <source>Dialog</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>Filas</source>
        <translation>Lignes</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Columnas</source>
        <translation>Colonnes</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>DView</name>
    <message>
        <source>Borrar</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Bloquear</source>
        <translation>Verrouiller</translation>
    </message>
    <message>
        <source>Capas</source>
        <translation>Calques</translation>
    </message>
    <message>
        <source>Traer al frente</source>
        <translation>Mettre au premier plan</translation>
    </message>
    <message>
        <source>Llevar al fondo</source>
        <translation>Mettre à l&apos;arrière-plan</translation>
    </message>
    <message>
        <source>Clonar</source>
        <translation>Dupliquer</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Grupo</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <source>Agrupar</source>
        <translation>Grouper</translation>
    </message>
    <message>
        <source>Desagrupar</source>
        <translation>Dissocier</translation>
    </message>
    <message>
        <source>Rotar</source>
        <translation>Pivoter</translation>
    </message>
    <message>
        <source>Rotar 45º</source>
        <translation>Pivoter de 45°</translation>
    </message>
    <message>
        <source>Rotar 90º</source>
        <translation>Pivoter de 90°</translation>
    </message>
    <message>
        <source>Rotar 180º</source>
        <translation>Pivoter de 180°</translation>
    </message>
    <message>
        <source>Rotar 270º</source>
        <translation>Pivoter de 270°</translation>
    </message>
    <message>
        <source>Enlazar</source>
        <translation>Lien</translation>
    </message>
    <message>
        <source>Enlace Web</source>
        <translation>Lien web</translation>
    </message>
    <message>
        <source>Enlace a una página</source>
        <translation>Lien vers une page</translation>
    </message>
    <message>
        <source>Enlace a un fichero</source>
        <translation>Lien vers un fichier</translation>
    </message>
    <message>
        <source>Enlace de video</source>
        <translation>Lien vidéo</translation>
    </message>
    <message>
        <source>Enlace de audio</source>
        <translation>Lien audio</translation>
    </message>
    <message>
        <source>Colorear</source>
        <translation>Colorier</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Couleur de remplissage</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Couleur de bordure</translation>
    </message>
    <message>
        <source>Convertir en texto offline</source>
        <translation>Convertir en texte (hors ligne)</translation>
    </message>
    <message>
        <source>Convertir en texto online</source>
        <translation>Convertir en texte (en ligne)</translation>
    </message>
</context>
<context>
    <name>LessonPictures</name>
    <message>
        <source>Página %1: %2</source>
        <translation>Page %1 : %2</translation>
    </message>
    <message>
        <source>La lección la conserva tal como venía, y la guarda con ella.</source>
        <translation>La leçon la conserve telle qu&apos;elle était et l&apos;enregistre avec elle.</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Atención</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Desea eliminar la página</source>
        <translation>Supprimer cette page ?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Debe reiniciar Veltorina para que los cambios surtan efecto</source>
        <translation>Redémarrez Veltorina pour que les modifications prennent effet</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Bureau</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de ayuda</source>
        <translation>Le fichier d&apos;aide est introuvable</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda</source>
        <translation>Impossible d&apos;ouvrir l&apos;aide</translation>
    </message>
</context>
<context>
    <name>MainFormClass</name>
    <message>
        <source>Veltorisa</source>
        <translation>Veltorisa</translation>
    </message>
</context>
<context>
    <name>PdfImport</name>
    <message>
        <source>No se ha podido importar «%1»: %2</source>
        <translation>Impossible d’importer « %1 » : %2</translation>
    </message>
    <message>
        <source>no se puede crear una carpeta temporal donde convertir sus páginas.</source>
        <translation>aucun dossier temporaire ne peut être créé pour convertir ses pages.</translation>
    </message>
    <message>
        <source>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</source>
        <translation>le programme « %1 », qui lit ses pages, est absent (paquet poppler-utils).</translation>
    </message>
    <message>
        <source>leer la lista de sus páginas ha tardado más de %1 segundos.</source>
        <translation>la lecture de la liste de ses pages a pris plus de %1 secondes.</translation>
    </message>
    <message>
        <source>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</source>
        <translation>il ne peut pas être lu comme document PDF : il est endommagé, protégé par un mot de passe ou n’est pas un PDF.</translation>
    </message>
    <message>
        <source>%1, página %2</source>
        <translation>%1, page %2</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla.</source>
        <translation>Page %1 : le programme de conversion n’a pas pu la convertir.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla («%2»).</source>
        <translation>Page %1 : le programme de conversion n’a pas pu la convertir (« %2 »).</translation>
    </message>
    <message>
        <source>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</source>
        <translation>Page %1 : sa conversion a pris plus de %2 secondes et elle a été laissée de côté.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</source>
        <translation>Page %1 : le programme de conversion s’est arrêté sur une erreur en la convertissant.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha dado ninguna imagen.</source>
        <translation>Page %1 : le programme de conversion n’a produit aucune image.</translation>
    </message>
    <message>
        <source>la lección tendría más objetos de los que admite la pizarra (%1).</source>
        <translation>la leçon aurait plus d’objets que le tableau n’en accepte (%1).</translation>
    </message>
    <message>
        <source>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</source>
        <translation>les %1 pages précédentes ont chacune pris plus de %2 secondes à convertir.</translation>
    </message>
    <message>
        <source>La página %1 no se ha importado: %2</source>
        <translation>La page %1 n’a pas été importée : %2</translation>
    </message>
    <message>
        <source>Las páginas %1 a %2 no se han importado: %3</source>
        <translation>Les pages %1 à %2 n’ont pas été importées : %3</translation>
    </message>
    <message>
        <source>Se han importado %1 de las %2 páginas de «%3».</source>
        <translation>%1 des %2 pages de « %3 » ont été importées.</translation>
    </message>
    <message>
        <source>Avisos sobre otras páginas que no se muestran aquí: %1.</source>
        <translation>Avertissements sur d’autres pages non affichés ici : %1.</translation>
    </message>
</context>
<context>
    <name>PictureReading</name>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</source>
        <translation>L’animation « %1 » mesure %2 x %3 pixels, plus que le tableau ne peut animer, et s’affiche immobile.</translation>
    </message>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</source>
        <translation>L’animation « %1 » mesure %2 x %3 pixels, plus que le tableau n’accepte, et s’affiche immobile, réduite à %4 x %5.</translation>
    </message>
    <message>
        <source>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</source>
        <translation>L’image « %1 » mesure %2 x %3 pixels, plus que le tableau n’accepte, et a été réduite à %4 x %5.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</source>
        <translation>L’image « %1 » n’a pas été utilisée : elle mesure %2 x %3 pixels, et le tableau accepte au plus %4 pixels de côté et %5 millions de pixels.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</source>
        <translation>L’image « %1 » n’a pas été utilisée : elle mesure %2 x %3 pixels, et la lire prendrait plus de %4 Mo de mémoire.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</source>
        <translation>L’image « %1 » n’a pas été utilisée : on ne peut pas savoir combien de mémoire elle prendrait sans la lire en entier.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</source>
        <translation>L’image « %1 » n’a pas été utilisée : la lire demandait plus de mémoire que le tableau ne lui en permet.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</source>
        <translation>L’image « %1 » n’a pas été utilisée : la lire prenait trop de temps.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</source>
        <translation>L’image « %1 » n’a pas été utilisée : son lecteur a échoué en la lisant.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</source>
        <translation>L’image « %1 » n’a pas pu être lue : elle manque, ou ce n’est pas un fichier qui puisse être ouvert.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</source>
        <translation>L’image « %1 » n’a pas pu être lue : ce n’est une image d’aucun format que le tableau sache lire.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: está dañada.</source>
        <translation>L’image « %1 » n’a pas pu être lue : elle est endommagée.</translation>
    </message>
    <message>
        <source>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</source>
        <translation>L’animation « %1 » a %2 images, plus que le tableau ne peut animer, et s’affiche immobile.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</source>
        <translation>L’image « %1 » n’a pas été utilisée : elle mesure %2 x %3 pixels, mais le texte et les autres données qu’elle contient prendraient plus de %4 Mo de mémoire à la lecture.</translation>
    </message>
    <message>
        <source>falta, o no se puede abrir</source>
        <translation>elle manque, ou ne peut pas être ouverte</translation>
    </message>
    <message>
        <source>está fuera de la carpeta de la imagen</source>
        <translation>elle est hors du dossier de l&apos;image</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo</source>
        <translation>c&apos;est un périphérique, pas un fichier</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo</source>
        <translation>c&apos;est un tube, pas un fichier</translation>
    </message>
    <message>
        <source>está en una carpeta de tipos de letra</source>
        <translation>elle est dans un dossier de polices</translation>
    </message>
    <message>
        <source>está en una carpeta del sistema (/proc, /sys o /dev)</source>
        <translation>elle est dans un dossier du système (/proc, /sys ou /dev)</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin «%2», que enlaza: %3.</source>
        <translation>L&apos;image « %1 » est affichée sans « %2 », qu&apos;elle lie : %3.</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</source>
        <translation>L&apos;image « %1 » est affichée sans %2 images qu&apos;elle lie : %3.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</source>
        <translation>L&apos;image « %1 » n&apos;a pas été utilisée : elle se lie à elle-même, directement ou par une autre image, et la dessiner ne finirait jamais.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>FullScreen</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Service not available</source>
        <translation>Service indisponible</translation>
    </message>
    <message>
        <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
        <translation>L&apos;objet QMediaPlayer n&apos;a pas de service valide.
Vérifiez que les modules de service multimédia sont installés.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Chargement...</translation>
    </message>
    <message>
        <source>Media Stalled</source>
        <translation>Lecture bloquée</translation>
    </message>
    <message>
        <source>Buffering %4%</source>
        <translation>Mise en mémoire tampon %4%</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Teinte</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Color Options</source>
        <translation>Options de couleur</translation>
    </message>
    <message>
        <source>No se puede reproducir este archivo</source>
        <translation>Impossible de lire ce fichier</translation>
    </message>
</context>
<context>
    <name>UbzReader</name>
    <message>
        <source>página %1</source>
        <translation>page %1</translation>
    </message>
    <message>
        <source>páginas %1</source>
        <translation>pages %1</translation>
    </message>
    <message>
        <source>Fondos de página en PDF (%1): no se han importado</source>
        <translation>Arrière-plans de page PDF (%1) : non importés</translation>
    </message>
    <message>
        <source>Miniaplicaciones (%1): no se han importado</source>
        <translation>Widgets (%1) : non importés</translation>
    </message>
    <message>
        <source>Papel cuadriculado o pautado (%1): no se ha importado</source>
        <translation>Papier quadrillé ou ligné (%1) : non importé</translation>
    </message>
    <message>
        <source>Grupos de objetos (%1): sus objetos quedan sueltos</source>
        <translation>Groupes d&apos;objets (%1) : leurs objets sont désormais séparés</translation>
    </message>
    <message>
        <source>Objetos bloqueados (%1): quedan desbloqueados</source>
        <translation>Objets verrouillés (%1) : désormais déverrouillés</translation>
    </message>
    <message>
        <source>Reglas y otros instrumentos (%1): no se han importado</source>
        <translation>Règles et autres instruments (%1) : non importés</translation>
    </message>
    <message>
        <source>Imágenes de fondo de página (%1): quedan como imágenes normales</source>
        <translation>Images d&apos;arrière-plan de page (%1) : désormais des images ordinaires</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <source>VideoWidget</source>
        <translation>Vidéo</translation>
    </message>
    <message>
        <source>#buttonPlay {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonPlay:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</source>
        <translation>#buttonPlay {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonPlay:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</translation>
    </message>
    <message>
        <source>#buttonStop {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonStop:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</source>
        <translation>#buttonStop {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonStop:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</translation>
    </message>
    <message>
        <source>#buttonPause {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonPause:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</source>
        <translation>#buttonPause {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonPause:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</translation>
    </message>
    <message>
        <source>#buttonExit {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonExit:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</source>
        <translation>#buttonExit {
	background-color: rgb(210, 210, 210);
	border-radius: 3px;
}
#buttonExit:hover {
	background-color: rgb(72, 72, 72);
	border-radius: 3px;
}</translation>
    </message>
</context>
<context>
    <name>WidgetClassicSelector</name>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Ligne mixte</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Ligne tiretée</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Ligne pointillée</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Ligne continue</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Plus de couleurs</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>Color de Pincel</source>
        <translation>Couleur du stylo</translation>
    </message>
    <message>
        <source>Color de Fondo</source>
        <translation>Couleur de fond</translation>
    </message>
    <message>
        <source>Estilo de línea</source>
        <translation>Style de ligne</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Épaisseur du trait</translation>
    </message>
    <message>
        <source>Transparencia de línea</source>
        <translation>Transparence du trait</translation>
    </message>
</context>
<context>
    <name>WidgetEraserSelector</name>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Effacer la page</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Gomme</translation>
    </message>
    <message>
        <source>Borrador de objectos</source>
        <translation>Gomme à objets</translation>
    </message>
</context>
<context>
    <name>WidgetMMISelector</name>
    <message>
        <source>Imágen</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Pdf</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Ouvrir une vidéo</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Tabla</source>
        <translation>Tableau</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
</context>
<context>
    <name>WidgetMenuSelector</name>
    <message>
        <source>Nuevo Archivo</source>
        <translation>Nouveau fichier</translation>
    </message>
    <message>
        <source>Abrir/Importar Archivo</source>
        <translation>Ouvrir/Importer</translation>
    </message>
    <message>
        <source>Guardar Archivo</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>Guardar Archivo Como</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>Exportar Archivo</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Idioma</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Multiusuario</source>
        <translation>Multi-utilisateur</translation>
    </message>
    <message>
        <source>Cambiar interfaz</source>
        <translation>Changer d&apos;interface</translation>
    </message>
    <message>
        <source>Versión: 0.24 BETA</source>
        <translation>Version : 0.24 BETA</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>&lt; Atrás</source>
        <translation>&lt; Retour</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>BMP</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>JPG</source>
        <translation>JPG</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>TIFF</source>
        <translation>TIFF</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>Anglais</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Espagnol</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russe</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portugais</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Français</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Allemand</translation>
    </message>
    <message>
        <source>Estandar</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Enfants</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Classique</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
</context>
<context>
    <name>WidgetPageSelector</name>
    <message>
        <source>Ampliar página</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Disminuir página</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Déplacer la page</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Vue initiale</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Page blanche</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Page d&apos;image</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Page de capture</translation>
    </message>
    <message>
        <source>Página transparente</source>
        <translation>Page transparente</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Effacer la page</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Supprimer la page</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Plus de couleurs</translation>
    </message>
</context>
<context>
    <name>WidgetPenSelector</name>
    <message>
        <source>Lápiz</source>
        <translation>Crayon</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Surligneur</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Stylo intelligent</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Stylo plume</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Ligne continue</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Ligne pointillée</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Ligne tiretée</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Ligne mixte</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Épaisseur du trait</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Plus de couleurs</translation>
    </message>
</context>
<context>
    <name>WidgetShapeSelector</name>
    <message>
        <source>Línea</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Triángulo equilátero</source>
        <translation>Triangle équilatéral</translation>
    </message>
    <message>
        <source>Triángulo rectángulo</source>
        <translation>Triangle rectangle</translation>
    </message>
    <message>
        <source>Elipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Cercle</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Carré</translation>
    </message>
    <message>
        <source>Rectángulo</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Rectangle arrondi</translation>
    </message>
    <message>
        <source>Paralelogramo</source>
        <translation>Parallélogramme</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Losange</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Pentagone</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Hexagone</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Flèche</translation>
    </message>
    <message>
        <source>Doble flecha</source>
        <translation>Double flèche</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Étoile</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cube</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cône</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cylindre</translation>
    </message>
    <message>
        <source>Esfera</source>
        <translation>Sphère</translation>
    </message>
    <message>
        <source>Relleno</source>
        <translation>Remplissage</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Ligne continue</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Ligne pointillée</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Ligne tiretée</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Ligne mixte</translation>
    </message>
    <message>
        <source>Fondo Solido</source>
        <translation>Uni</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Couleur de remplissage</translation>
    </message>
    <message>
        <source>Fondo Imagen</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Fondo Trama</source>
        <translation>Motif</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Épaisseur du trait</translation>
    </message>
    <message>
        <source>Borde</source>
        <translation>Bord</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Couleur de bordure</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Plus de couleurs</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Ouvrir une image</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Fichiers image (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Fondo Gradiente</source>
        <translation>Dégradé</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Attention</translation>
    </message>
</context>
<context>
    <name>WidgetToolSelector</name>
    <message>
        <source>Cortina</source>
        <translation>Rideau</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Projecteur</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculatrice</translation>
    </message>
    <message>
        <source>Capturadora</source>
        <translation>Capture d&apos;écran</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Loupe</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Règle</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Équerre</translation>
    </message>
    <message>
        <source>Compás</source>
        <translation>Compas</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Rapporteur</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Horloge</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Partager l&apos;écran</translation>
    </message>
    <message>
        <source>Teclado</source>
        <translation>Clavier</translation>
    </message>
    <message>
        <source>Navegador</source>
        <translation>Navigateur</translation>
    </message>
    <message>
        <source>Actividades interactivas</source>
        <translation>Activités interactives</translation>
    </message>
    <message>
        <source>Grabar acción</source>
        <translation>Démarrer l&apos;enregistrement</translation>
    </message>
    <message>
        <source>Reproducir acción</source>
        <translation>Lire l&apos;enregistrement</translation>
    </message>
    <message>
        <source>Pausar acción</source>
        <translation>Mettre en pause</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulaire</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancelar</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>No queda espacio libre en el disco.</source>
        <translation>Il n&apos;y a plus d&apos;espace libre sur le disque.</translation>
    </message>
    <message>
        <source>No tiene permiso para escribir en esa carpeta.</source>
        <translation>Vous n&apos;avez pas l&apos;autorisation d&apos;écrire dans ce dossier.</translation>
    </message>
    <message>
        <source>El disco o la carpeta es de solo lectura.</source>
        <translation>Le disque ou le dossier est en lecture seule.</translation>
    </message>
</context>
</TS>
