<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="es_ES">
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
        <translation>Rücktaste</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles löschen</translation>
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
        <translation>Taschenrechner</translation>
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
        <translation>Uhrmodus</translation>
    </message>
    <message>
        <source>Timer Mode</source>
        <translation>Stoppuhr</translation>
    </message>
    <message>
        <source>Countdown Mode</source>
        <translation>Countdown</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Translucent</source>
        <translation>Durchscheinend</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Deckend</translation>
    </message>
    <message>
        <source>Display LCD</source>
        <translation>LCD-Anzeige</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
</context>
<context>
    <name>DCompass</name>
    <message>
        <source>Semicircunferencia</source>
        <translation>Halbkreis</translation>
    </message>
    <message>
        <source>Circunferencia</source>
        <translation>Kreis</translation>
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
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>DMainUi</name>
    <message>
        <source>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</source>
        <translation>Veltorina %1

Interaktive Tafel für das Klassenzimmer.
Geschrieben und gepflegt vom Veltorina-Entwicklerteam.</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Menú</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Páginas</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Pinceles</source>
        <translation>Stifte</translation>
    </message>
    <message>
        <source>Figuras</source>
        <translation>Formen</translation>
    </message>
    <message>
        <source>Borradores</source>
        <translation>Radierer</translation>
    </message>
    <message>
        <source>Objectos multimedia</source>
        <translation>Medien</translation>
    </message>
    <message>
        <source>Acciones de página</source>
        <translation>Seitenaktionen</translation>
    </message>
    <message>
        <source>Herramientas</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Recursos</source>
        <translation>Materialien</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Weiße Seite</translation>
    </message>
    <message>
        <source>Página Transparente</source>
        <translation>Transparente Seite</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Bildschirmfoto-Seite</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Bildseite</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Seite leeren</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Seite löschen</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Stift</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Textmarker</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Füller</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Intelligenter Stift</translation>
    </message>
    <message>
        <source>Borrador de objeto</source>
        <translation>Objektradierer</translation>
    </message>
    <message>
        <source>Borrador grande</source>
        <translation>Großer Radierer</translation>
    </message>
    <message>
        <source>Borrador mediano</source>
        <translation>Mittlerer Radierer</translation>
    </message>
    <message>
        <source>Borrador pequeño</source>
        <translation>Kleiner Radierer</translation>
    </message>
    <message>
        <source>Línea</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>Triángulo rectangulo</source>
        <translation>Rechtwinkliges Dreieck</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Fünfeck</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Sechseck</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Würfel</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Kegel</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Dreieck</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Quadrat</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Stern</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Raute</translation>
    </message>
    <message>
        <source>Doble Flecha</source>
        <translation>Doppelpfeil</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Zylinder</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Abgerundetes Rechteck</translation>
    </message>
    <message>
        <source>Imagen</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Vídeo</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Ampliar página</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Seite verschieben</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Reducir página</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Ausgangsansicht</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Scheinwerfer</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Lupe</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Lineal</translation>
    </message>
    <message>
        <source>Compas</source>
        <translation>Zirkel</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Bildschirm teilen</translation>
    </message>
    <message>
        <source>Cortina</source>
        <translation>Vorhang</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Uhr</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Geodreieck</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Winkelmesser</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Taschenrechner</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Transparencia</source>
        <translation>Transparenz</translation>
    </message>
    <message>
        <source>Grosor</source>
        <translation>Stärke</translation>
    </message>
    <message>
        <source>Estilo</source>
        <translation>Stil</translation>
    </message>
    <message>
        <source>Ocultar barra</source>
        <translation>Leiste ausblenden</translation>
    </message>
    <message>
        <source>Objetos multimedia</source>
        <translation>Medien</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Estilográfica</source>
        <translation>Füller</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Radierer</translation>
    </message>
    <message>
        <source>Salir modo multiusuario</source>
        <translation>Mehrbenutzermodus beenden</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>DPage</name>
    <message>
        <source>Importando «%1»…</source>
        <translation>„%1“ wird importiert…</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Achtung</translation>
    </message>
    <message>
        <source>Abrir Imagen</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>Abrir Documento</source>
        <translation>Dokument öffnen</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Video öffnen</translation>
    </message>
    <message>
        <source>Error al insertar el vídeo</source>
        <translation>Das Video konnte nicht eingefügt werden</translation>
    </message>
    <message>
        <source>Abrir Audio</source>
        <translation>Audio öffnen</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Fehler beim Speichern der Aufnahme</translation>
    </message>
    <message>
        <source>No se ha encontrado el programa de actividades</source>
        <translation>Das Übungsprogramm wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Error al iniciar el programa de actividades</source>
        <translation>Fehler beim Starten des Übungsprogramms</translation>
    </message>
    <message>
        <source>Error al abrir el navegador</source>
        <translation>Fehler beim Öffnen des Browsers</translation>
    </message>
    <message>
        <source>Editar enlace</source>
        <translation>Link bearbeiten</translation>
    </message>
    <message>
        <source>Inserte un enlace web</source>
        <translation>Weblink eingeben</translation>
    </message>
    <message>
        <source>Inserte número de página a enlazar</source>
        <translation>Nummer der zu verlinkenden Seite eingeben</translation>
    </message>
    <message>
        <source>Desea limpiar la página</source>
        <translation>Diese Seite leeren?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>Audio öffnen</translation>
    </message>
    <message>
        <source>Error al convertir a texto</source>
        <translation>Fehler bei der Umwandlung in Text</translation>
    </message>
</context>
<context>
    <name>DPagesList</name>
    <message>
        <source>Open Image</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Achtung</translation>
    </message>
    <message>
        <source>Desea restaurar el archivo no guardado</source>
        <translation>Nicht gespeicherte Datei wiederherstellen?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Error al guardar archivo</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Desea Guardar el Archivo</source>
        <translation>Datei speichern?</translation>
    </message>
    <message>
        <source>Desea guardar el archivo</source>
        <translation>Datei speichern?</translation>
    </message>
    <message>
        <source>Desea exportar el archivo</source>
        <translation>Datei exportieren?</translation>
    </message>
    <message>
        <source>Guardar archivo</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Exportar archivo</source>
        <translation>Datei exportieren</translation>
    </message>
    <message>
        <source>Abrir Archivo</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Error al abrir archivo</source>
        <translation>Fehler beim Öffnen der Datei</translation>
    </message>
    <message>
        <source>Error al exportar archivo</source>
        <translation>Fehler beim Exportieren der Datei</translation>
    </message>
    <message>
        <source>El documento está dañado y no se ha podido abrir entero.</source>
        <translation>Das Dokument ist beschädigt und konnte nicht vollständig geöffnet werden.</translation>
    </message>
    <message>
        <source>El documento se ha guardado sin estos archivos, que no se encuentran:</source>
        <translation>Das Dokument wurde ohne diese Dateien gespeichert, die nicht gefunden wurden:</translation>
    </message>
    <message>
        <source>Guardando el documento…</source>
        <translation>Dokument wird gespeichert…</translation>
    </message>
    <message>
        <source>Abriendo el documento…</source>
        <translation>Dokument wird geöffnet…</translation>
    </message>
    <message>
        <source>Exportando el documento…</source>
        <translation>Dokument wird exportiert…</translation>
    </message>
    <message>
        <source>El archivo %1 ya existe.</source>
        <translation>Die Datei %1 existiert bereits.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlo?</source>
        <translation>Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>Los archivos de la carpeta %1 ya existen.</source>
        <translation>Die Dateien im Ordner %1 existieren bereits.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlos?</source>
        <translation>Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</source>
        <translation>Die automatische Sicherung des Dokuments konnte nicht gespeichert werden: Wenn das Programm unerwartet beendet wird, gehen die letzten Änderungen verloren.</translation>
    </message>
    <message>
        <source>La lección se ha importado con estos cambios:</source>
        <translation>Die Lektion wurde mit diesen Änderungen importiert:</translation>
    </message>
    <message>
        <source>La lección se ha abierto con estos cambios:</source>
        <translation>Die Lektion wurde mit diesen Änderungen geöffnet:</translation>
    </message>
    <message>
        <source>… y %1 más.</source>
        <translation>… und %1 weitere.</translation>
    </message>
</context>
<context>
    <name>DProtractor</name>
    <message>
        <source>Arco</source>
        <translation>Bogen</translation>
    </message>
    <message>
        <source>Porción</source>
        <translation>Sektor</translation>
    </message>
    <message>
        <source>Cuerda</source>
        <translation>Sehne</translation>
    </message>
    <message>
        <source>Ángulo</source>
        <translation>Winkel</translation>
    </message>
    <message>
        <source>Triangulo</source>
        <translation>Dreieck</translation>
    </message>
</context>
<context>
    <name>DResources</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>DRichTextEditor</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
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
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Editar Texto</source>
        <translation>Text bearbeiten</translation>
    </message>
</context>
<context>
    <name>DScreenRecord</name>
    <message>
        <source>Ya hay una grabación en curso</source>
        <translation>Es läuft bereits eine Aufnahme</translation>
    </message>
    <message>
        <source>Error al iniciar la grabación</source>
        <translation>Fehler beim Starten der Aufnahme</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Fehler beim Speichern der Aufnahme</translation>
    </message>
    <message>
        <source>Error al grabar la pantalla</source>
        <translation>Fehler bei der Bildschirmaufnahme</translation>
    </message>
    <message>
        <source>Convirtiendo la grabación…</source>
        <translation>Aufnahme wird umgewandelt…</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Abbrechen</translation>
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
        <translation>Kinder</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>Interfaz por defecto</source>
        <translation>Standardoberfläche</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Spanisch</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russisch</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portugiesisch</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Idioma por defecto</source>
        <translation>Standardsprache</translation>
    </message>
    <message>
        <source>Autoguardado (min)</source>
        <translation>Autospeichern (min)</translation>
    </message>
    <message>
        <source>Color de página por defecto</source>
        <translation>Standard-Seitenfarbe</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Achtung</translation>
    </message>
    <message>
        <source>Restaurar Valores por Defecto</source>
        <translation>Standardwerte wiederherstellen?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
</context>
<context>
    <name>DShareScreen</name>
    <message>
        <source>Compartir con los demás</source>
        <translation>Mit anderen teilen</translation>
    </message>
    <message>
        <source>Compartir pantalla con los demás</source>
        <translation>Bildschirm mit anderen teilen</translation>
    </message>
    <message>
        <source>Conectando...</source>
        <translation>Verbindung wird hergestellt...</translation>
    </message>
    <message>
        <source>Escanea el siguiente codigo QR</source>
        <translation>Scannen Sie diesen QR-Code</translation>
    </message>
    <message>
        <source>No se puede abrir el puerto %1</source>
        <translation>Port %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Puede que otro programa lo esté usando</source>
        <translation>Möglicherweise wird er von einem anderen Programm verwendet</translation>
    </message>
    <message>
        <source>Sin conexión</source>
        <translation>Keine Verbindung</translation>
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
        <translation>Transparente Seite</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Stift</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Textmarker</translation>
    </message>
    <message>
        <source>Borrador de objetos</source>
        <translation>Objektradierer</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Seite leeren</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>DTableDlg</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Filas</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Columnas</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>DView</name>
    <message>
        <source>Borrar</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Bloquear</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>Capas</source>
        <translation>Ebenen</translation>
    </message>
    <message>
        <source>Traer al frente</source>
        <translation>In den Vordergrund</translation>
    </message>
    <message>
        <source>Llevar al fondo</source>
        <translation>In den Hintergrund</translation>
    </message>
    <message>
        <source>Clonar</source>
        <translation>Klonen</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Grupo</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Agrupar</source>
        <translation>Gruppieren</translation>
    </message>
    <message>
        <source>Desagrupar</source>
        <translation>Gruppierung aufheben</translation>
    </message>
    <message>
        <source>Rotar</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Rotar 45º</source>
        <translation>Um 45° drehen</translation>
    </message>
    <message>
        <source>Rotar 90º</source>
        <translation>Um 90° drehen</translation>
    </message>
    <message>
        <source>Rotar 180º</source>
        <translation>Um 180° drehen</translation>
    </message>
    <message>
        <source>Rotar 270º</source>
        <translation>Um 270° drehen</translation>
    </message>
    <message>
        <source>Enlazar</source>
        <translation>Verknüpfen</translation>
    </message>
    <message>
        <source>Enlace Web</source>
        <translation>Weblink</translation>
    </message>
    <message>
        <source>Enlace a una página</source>
        <translation>Link zu einer Seite</translation>
    </message>
    <message>
        <source>Enlace a un fichero</source>
        <translation>Link zu einer Datei</translation>
    </message>
    <message>
        <source>Enlace de video</source>
        <translation>Video-Link</translation>
    </message>
    <message>
        <source>Enlace de audio</source>
        <translation>Audio-Link</translation>
    </message>
    <message>
        <source>Colorear</source>
        <translation>Einfärben</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Füllfarbe</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Rahmenfarbe</translation>
    </message>
    <message>
        <source>Convertir en texto offline</source>
        <translation>In Text umwandeln (offline)</translation>
    </message>
    <message>
        <source>Convertir en texto online</source>
        <translation>In Text umwandeln (online)</translation>
    </message>
</context>
<context>
    <name>LessonPictures</name>
    <message>
        <source>Página %1: %2</source>
        <translation>Seite %1: %2</translation>
    </message>
    <message>
        <source>La lección la conserva tal como venía, y la guarda con ella.</source>
        <translation>Die Lektion behält es so, wie es kam, und speichert es mit sich.</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Atención</source>
        <translation>Achtung</translation>
    </message>
    <message>
        <source>Desea eliminar la página</source>
        <translation>Diese Seite löschen?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Debe reiniciar Veltorina para que los cambios surtan efecto</source>
        <translation>Starten Sie Veltorina neu, damit die Änderungen wirksam werden</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de ayuda</source>
        <translation>Die Hilfedatei wurde nicht gefunden</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda</source>
        <translation>Die Hilfe kann nicht geöffnet werden</translation>
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
        <translation>„%1“ konnte nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>no se puede crear una carpeta temporal donde convertir sus páginas.</source>
        <translation>es kann kein temporärer Ordner zum Umwandeln seiner Seiten angelegt werden.</translation>
    </message>
    <message>
        <source>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</source>
        <translation>das Programm „%1“, das seine Seiten liest, fehlt (Paket poppler-utils).</translation>
    </message>
    <message>
        <source>leer la lista de sus páginas ha tardado más de %1 segundos.</source>
        <translation>das Lesen der Liste seiner Seiten dauerte länger als %1 Sekunden.</translation>
    </message>
    <message>
        <source>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</source>
        <translation>es kann nicht als PDF-Dokument gelesen werden: Es ist beschädigt, mit einem Passwort geschützt oder kein PDF.</translation>
    </message>
    <message>
        <source>%1, página %2</source>
        <translation>%1, Seite %2</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla.</source>
        <translation>Seite %1: Das Umwandlungsprogramm konnte sie nicht umwandeln.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla («%2»).</source>
        <translation>Seite %1: Das Umwandlungsprogramm konnte sie nicht umwandeln („%2“).</translation>
    </message>
    <message>
        <source>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</source>
        <translation>Seite %1: Ihre Umwandlung dauerte länger als %2 Sekunden, sie wurde ausgelassen.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</source>
        <translation>Seite %1: Das Umwandlungsprogramm ist beim Umwandeln mit einem Fehler abgebrochen.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha dado ninguna imagen.</source>
        <translation>Seite %1: Das Umwandlungsprogramm hat kein Bild geliefert.</translation>
    </message>
    <message>
        <source>la lección tendría más objetos de los que admite la pizarra (%1).</source>
        <translation>die Lektion hätte mehr Objekte, als die Tafel annimmt (%1).</translation>
    </message>
    <message>
        <source>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</source>
        <translation>die %1 Seiten davor brauchten jede länger als %2 Sekunden zum Umwandeln.</translation>
    </message>
    <message>
        <source>La página %1 no se ha importado: %2</source>
        <translation>Seite %1 wurde nicht importiert: %2</translation>
    </message>
    <message>
        <source>Las páginas %1 a %2 no se han importado: %3</source>
        <translation>Die Seiten %1 bis %2 wurden nicht importiert: %3</translation>
    </message>
    <message>
        <source>Se han importado %1 de las %2 páginas de «%3».</source>
        <translation>%1 von %2 Seiten aus „%3“ wurden importiert.</translation>
    </message>
    <message>
        <source>Avisos sobre otras páginas que no se muestran aquí: %1.</source>
        <translation>Hinweise zu weiteren Seiten, die hier nicht gezeigt werden: %1.</translation>
    </message>
</context>
<context>
    <name>PictureReading</name>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</source>
        <translation>Die Animation „%1“ misst %2 x %3 Pixel, mehr als die Tafel bewegen kann, und wird als Standbild gezeigt.</translation>
    </message>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</source>
        <translation>Die Animation „%1“ misst %2 x %3 Pixel, mehr als die Tafel annimmt, und wird als Standbild gezeigt, verkleinert auf %4 x %5.</translation>
    </message>
    <message>
        <source>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</source>
        <translation>Das Bild „%1“ misst %2 x %3 Pixel, mehr als die Tafel annimmt, und wurde auf %4 x %5 verkleinert.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Es misst %2 x %3 Pixel, und die Tafel nimmt höchstens %4 Pixel je Seite und %5 Millionen Pixel an.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Es misst %2 x %3 Pixel, und es zu lesen bräuchte mehr als %4 MB Speicher.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Wie viel Speicher es bräuchte, lässt sich nicht wissen, ohne es ganz zu lesen.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Es zu lesen brauchte mehr Speicher, als die Tafel ihm erlaubt.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Es zu lesen dauerte zu lange.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Sein Leseprogramm ist beim Lesen ausgefallen.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</source>
        <translation>Das Bild „%1“ konnte nicht gelesen werden: Es fehlt, oder es ist keine Datei, die sich öffnen lässt.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</source>
        <translation>Das Bild „%1“ konnte nicht gelesen werden: Es ist kein Bild in einem Format, das die Tafel lesen kann.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: está dañada.</source>
        <translation>Das Bild „%1“ konnte nicht gelesen werden: Es ist beschädigt.</translation>
    </message>
    <message>
        <source>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</source>
        <translation>Die Animation „%1“ hat %2 Einzelbilder, mehr als die Tafel bewegen kann, und wird als Standbild gezeigt.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Es misst %2 x %3 Pixel, aber der Text und die übrigen Daten darin bräuchten beim Lesen mehr als %4 MB Speicher.</translation>
    </message>
    <message>
        <source>falta, o no se puede abrir</source>
        <translation>sie fehlt oder lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>está fuera de la carpeta de la imagen</source>
        <translation>sie liegt außerhalb des Ordners des Bildes</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo</source>
        <translation>sie ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo</source>
        <translation>sie ist eine Pipe, keine Datei</translation>
    </message>
    <message>
        <source>está en una carpeta de tipos de letra</source>
        <translation>sie liegt in einem Schriftenordner</translation>
    </message>
    <message>
        <source>está en una carpeta del sistema (/proc, /sys o /dev)</source>
        <translation>sie liegt in einem Systemordner (/proc, /sys oder /dev)</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin «%2», que enlaza: %3.</source>
        <translation>Das Bild „%1“ wird ohne „%2“ angezeigt, auf das es verweist: %3.</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</source>
        <translation>Das Bild „%1“ wird ohne %2 Bilder angezeigt, auf die es verweist: %3.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</source>
        <translation>Das Bild „%1“ wurde nicht verwendet: Es verweist auf sich selbst, direkt oder über ein anderes Bild, und es zu zeichnen würde nie enden.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>FullScreen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Service not available</source>
        <translation>Dienst nicht verfügbar</translation>
    </message>
    <message>
        <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
        <translation>Das QMediaPlayer-Objekt hat keinen gültigen Dienst.
Bitte prüfen Sie, ob die Medien-Plugins installiert sind.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen...</translation>
    </message>
    <message>
        <source>Media Stalled</source>
        <translation>Wiedergabe stockt</translation>
    </message>
    <message>
        <source>Buffering %4%</source>
        <translation>Puffern %4%</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Color Options</source>
        <translation>Farboptionen</translation>
    </message>
    <message>
        <source>No se puede reproducir este archivo</source>
        <translation>Diese Datei kann nicht abgespielt werden</translation>
    </message>
</context>
<context>
    <name>UbzReader</name>
    <message>
        <source>página %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>páginas %1</source>
        <translation>Seiten %1</translation>
    </message>
    <message>
        <source>Fondos de página en PDF (%1): no se han importado</source>
        <translation>PDF-Seitenhintergründe (%1): nicht importiert</translation>
    </message>
    <message>
        <source>Miniaplicaciones (%1): no se han importado</source>
        <translation>Widgets (%1): nicht importiert</translation>
    </message>
    <message>
        <source>Papel cuadriculado o pautado (%1): no se ha importado</source>
        <translation>Kariertes oder liniertes Papier (%1): nicht importiert</translation>
    </message>
    <message>
        <source>Grupos de objetos (%1): sus objetos quedan sueltos</source>
        <translation>Objektgruppen (%1): ihre Objekte sind jetzt einzeln</translation>
    </message>
    <message>
        <source>Objetos bloqueados (%1): quedan desbloqueados</source>
        <translation>Gesperrte Objekte (%1): jetzt entsperrt</translation>
    </message>
    <message>
        <source>Reglas y otros instrumentos (%1): no se han importado</source>
        <translation>Lineale und andere Instrumente (%1): nicht importiert</translation>
    </message>
    <message>
        <source>Imágenes de fondo de página (%1): quedan como imágenes normales</source>
        <translation>Seitenhintergrundbilder (%1): jetzt gewöhnliche Bilder</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <source>VideoWidget</source>
        <translation>Video</translation>
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
        <translation>Strichpunktlinie</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Gestrichelte Linie</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Gepunktete Linie</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Durchgezogene Linie</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Weitere Farben</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Color de Pincel</source>
        <translation>Stiftfarbe</translation>
    </message>
    <message>
        <source>Color de Fondo</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Estilo de línea</source>
        <translation>Linienstil</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Linienstärke</translation>
    </message>
    <message>
        <source>Transparencia de línea</source>
        <translation>Linientransparenz</translation>
    </message>
</context>
<context>
    <name>WidgetEraserSelector</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Seite leeren</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Radierer</translation>
    </message>
    <message>
        <source>Borrador de objectos</source>
        <translation>Objektradierer</translation>
    </message>
</context>
<context>
    <name>WidgetMMISelector</name>
    <message>
        <source>Imágen</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Pdf</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Video öffnen</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Tabla</source>
        <translation>Tabelle</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>WidgetMenuSelector</name>
    <message>
        <source>Nuevo Archivo</source>
        <translation>Neue Datei</translation>
    </message>
    <message>
        <source>Abrir/Importar Archivo</source>
        <translation>Öffnen/Importieren</translation>
    </message>
    <message>
        <source>Guardar Archivo</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Guardar Archivo Como</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Exportar Archivo</source>
        <translation>Datei exportieren</translation>
    </message>
    <message>
        <source>Idioma</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Multiusuario</source>
        <translation>Mehrbenutzer</translation>
    </message>
    <message>
        <source>Cambiar interfaz</source>
        <translation>Oberfläche ändern</translation>
    </message>
    <message>
        <source>Versión: 0.24 BETA</source>
        <translation>Version: 0.24 BETA</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&lt; Atrás</source>
        <translation>&lt; Zurück</translation>
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
        <translation>Englisch</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Spanisch</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russisch</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portugiesisch</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Französisch</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Estandar</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Kinder</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>WidgetPageSelector</name>
    <message>
        <source>Ampliar página</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Disminuir página</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Seite verschieben</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Ausgangsansicht</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Weiße Seite</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Bildseite</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Bildschirmfoto-Seite</translation>
    </message>
    <message>
        <source>Página transparente</source>
        <translation>Transparente Seite</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Seite leeren</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Seite löschen</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Weitere Farben</translation>
    </message>
</context>
<context>
    <name>WidgetPenSelector</name>
    <message>
        <source>Lápiz</source>
        <translation>Stift</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Textmarker</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Intelligenter Stift</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Füller</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Durchgezogene Linie</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Gepunktete Linie</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Gestrichelte Linie</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Strichpunktlinie</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Linienstärke</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Weitere Farben</translation>
    </message>
</context>
<context>
    <name>WidgetShapeSelector</name>
    <message>
        <source>Línea</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>Triángulo equilátero</source>
        <translation>Gleichseitiges Dreieck</translation>
    </message>
    <message>
        <source>Triángulo rectángulo</source>
        <translation>Rechtwinkliges Dreieck</translation>
    </message>
    <message>
        <source>Elipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Kreis</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Quadrat</translation>
    </message>
    <message>
        <source>Rectángulo</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Abgerundetes Rechteck</translation>
    </message>
    <message>
        <source>Paralelogramo</source>
        <translation>Parallelogramm</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Raute</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Fünfeck</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Sechseck</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Doble flecha</source>
        <translation>Doppelpfeil</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Stern</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Würfel</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Kegel</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Zylinder</translation>
    </message>
    <message>
        <source>Esfera</source>
        <translation>Kugel</translation>
    </message>
    <message>
        <source>Relleno</source>
        <translation>Füllung</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Durchgezogene Linie</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Gepunktete Linie</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Gestrichelte Linie</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Strichpunktlinie</translation>
    </message>
    <message>
        <source>Fondo Solido</source>
        <translation>Einfarbig</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Füllfarbe</translation>
    </message>
    <message>
        <source>Fondo Imagen</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Fondo Trama</source>
        <translation>Muster</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Linienstärke</translation>
    </message>
    <message>
        <source>Borde</source>
        <translation>Rand</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Rahmenfarbe</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Weitere Farben</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Bilddateien (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Fondo Gradiente</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Achtung</translation>
    </message>
</context>
<context>
    <name>WidgetToolSelector</name>
    <message>
        <source>Cortina</source>
        <translation>Vorhang</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Scheinwerfer</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Taschenrechner</translation>
    </message>
    <message>
        <source>Capturadora</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Lupe</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Lineal</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Geodreieck</translation>
    </message>
    <message>
        <source>Compás</source>
        <translation>Zirkel</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Winkelmesser</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Uhr</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Bildschirm teilen</translation>
    </message>
    <message>
        <source>Teclado</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>Navegador</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Actividades interactivas</source>
        <translation>Interaktive Übungen</translation>
    </message>
    <message>
        <source>Grabar acción</source>
        <translation>Aufnahme starten</translation>
    </message>
    <message>
        <source>Reproducir acción</source>
        <translation>Aufnahme abspielen</translation>
    </message>
    <message>
        <source>Pausar acción</source>
        <translation>Aufnahme anhalten</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancelar</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>No queda espacio libre en el disco.</source>
        <translation>Auf dem Datenträger ist kein freier Speicherplatz mehr.</translation>
    </message>
    <message>
        <source>No tiene permiso para escribir en esa carpeta.</source>
        <translation>Sie haben keine Berechtigung, in diesen Ordner zu schreiben.</translation>
    </message>
    <message>
        <source>El disco o la carpeta es de solo lectura.</source>
        <translation>Der Datenträger oder der Ordner ist schreibgeschützt.</translation>
    </message>
</context>
</TS>
