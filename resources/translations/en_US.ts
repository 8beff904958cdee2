<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="es_ES">
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
        <translation>Backspace</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Clear all</translation>
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
        <translation>Sqrt</translation>
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
        <translation>Calculator</translation>
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
        <translation>Clock mode</translation>
    </message>
    <message>
        <source>Timer Mode</source>
        <translation>Timer mode</translation>
    </message>
    <message>
        <source>Countdown Mode</source>
        <translation>Countdown mode</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Translucent</source>
        <translation>Translucent</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Opaque</translation>
    </message>
    <message>
        <source>Display LCD</source>
        <translation>LCD display</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Hide</translation>
    </message>
</context>
<context>
    <name>DCompass</name>
    <message>
        <source>Semicircunferencia</source>
        <translation>Semicircle</translation>
    </message>
    <message>
        <source>Circunferencia</source>
        <translation>Circle</translation>
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
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>DMainUi</name>
    <message>
        <source>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</source>
        <translation>Veltorina %1

Interactive whiteboard for the classroom.
Written and maintained by the Veltorina development team.</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Redo</translation>
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
        <translation>Pens</translation>
    </message>
    <message>
        <source>Figuras</source>
        <translation>Shapes</translation>
    </message>
    <message>
        <source>Borradores</source>
        <translation>Erasers</translation>
    </message>
    <message>
        <source>Objectos multimedia</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Acciones de página</source>
        <translation>Page actions</translation>
    </message>
    <message>
        <source>Herramientas</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Recursos</source>
        <translation>Resources</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>White page</translation>
    </message>
    <message>
        <source>Página Transparente</source>
        <translation>Transparent page</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Screenshot page</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Picture page</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Clear page</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Delete page</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Pencil</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Highlighter</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Fountain pen</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Smart pen</translation>
    </message>
    <message>
        <source>Borrador de objeto</source>
        <translation>Object eraser</translation>
    </message>
    <message>
        <source>Borrador grande</source>
        <translation>Large eraser</translation>
    </message>
    <message>
        <source>Borrador mediano</source>
        <translation>Medium eraser</translation>
    </message>
    <message>
        <source>Borrador pequeño</source>
        <translation>Small eraser</translation>
    </message>
    <message>
        <source>Línea</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Triángulo rectangulo</source>
        <translation>Right triangle</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Pentagon</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Hexagon</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Arrow</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cube</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cone</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Star</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Rhombus</translation>
    </message>
    <message>
        <source>Doble Flecha</source>
        <translation>Double arrow</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cylinder</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Rounded rectangle</translation>
    </message>
    <message>
        <source>Imagen</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Vídeo</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Ampliar página</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Move page</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Reducir página</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Reset view</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Spotlight</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Magnifier</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Ruler</translation>
    </message>
    <message>
        <source>Compas</source>
        <translation>Compass</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Share screen</translation>
    </message>
    <message>
        <source>Cortina</source>
        <translation>Curtain</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Set square</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Protractor</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Transparencia</source>
        <translation>Transparency</translation>
    </message>
    <message>
        <source>Grosor</source>
        <translation>Thickness</translation>
    </message>
    <message>
        <source>Estilo</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Ocultar barra</source>
        <translation>Hide toolbar</translation>
    </message>
    <message>
        <source>Objetos multimedia</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Estilográfica</source>
        <translation>Fountain pen</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <source>Salir modo multiusuario</source>
        <translation>Leave multi-user mode</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>DPage</name>
    <message>
        <source>Importando «%1»…</source>
        <translation>Importing “%1”…</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Abrir Imagen</source>
        <translation>Open picture</translation>
    </message>
    <message>
        <source>Abrir Documento</source>
        <translation>Open document</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Open video</translation>
    </message>
    <message>
        <source>Error al insertar el vídeo</source>
        <translation>Could not insert the video</translation>
    </message>
    <message>
        <source>Abrir Audio</source>
        <translation>Open audio</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Error saving the recording</translation>
    </message>
    <message>
        <source>No se ha encontrado el programa de actividades</source>
        <translation>The activities program was not found</translation>
    </message>
    <message>
        <source>Error al iniciar el programa de actividades</source>
        <translation>Error starting the activities program</translation>
    </message>
    <message>
        <source>Error al abrir el navegador</source>
        <translation>Error opening the browser</translation>
    </message>
    <message>
        <source>Editar enlace</source>
        <translation>Edit link</translation>
    </message>
    <message>
        <source>Inserte un enlace web</source>
        <translation>Enter a web link</translation>
    </message>
    <message>
        <source>Inserte número de página a enlazar</source>
        <translation>Enter the number of the page to link to</translation>
    </message>
    <message>
        <source>Desea limpiar la página</source>
        <translation>Clear this page?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>Open audio</translation>
    </message>
    <message>
        <source>Error al convertir a texto</source>
        <translation>Error converting to text</translation>
    </message>
</context>
<context>
    <name>DPagesList</name>
    <message>
        <source>Open Image</source>
        <translation>Open image</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Desea restaurar el archivo no guardado</source>
        <translation>Restore the unsaved file?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Error al guardar archivo</source>
        <translation>Error saving the file</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Desea Guardar el Archivo</source>
        <translation>Save the file?</translation>
    </message>
    <message>
        <source>Desea guardar el archivo</source>
        <translation>Save the file?</translation>
    </message>
    <message>
        <source>Desea exportar el archivo</source>
        <translation>Export the file?</translation>
    </message>
    <message>
        <source>Guardar archivo</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Exportar archivo</source>
        <translation>Export file</translation>
    </message>
    <message>
        <source>Abrir Archivo</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>Error al abrir archivo</source>
        <translation>Error opening the file</translation>
    </message>
    <message>
        <source>Error al exportar archivo</source>
        <translation>Error exporting the file</translation>
    </message>
    <message>
        <source>El documento está dañado y no se ha podido abrir entero.</source>
        <translation>The document is damaged and could not be opened in full.</translation>
    </message>
    <message>
        <source>El documento se ha guardado sin estos archivos, que no se encuentran:</source>
        <translation>The document was saved without these files, which cannot be found:</translation>
    </message>
    <message>
        <source>Guardando el documento…</source>
        <translation>Saving the document…</translation>
    </message>
    <message>
        <source>Abriendo el documento…</source>
        <translation>Opening the document…</translation>
    </message>
    <message>
        <source>Exportando el documento…</source>
        <translation>Exporting the document…</translation>
    </message>
    <message>
        <source>El archivo %1 ya existe.</source>
        <translation>The file %1 already exists.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlo?</source>
        <translation>Do you want to replace it?</translation>
    </message>
    <message>
        <source>Los archivos de la carpeta %1 ya existen.</source>
        <translation>The files in the folder %1 already exist.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlos?</source>
        <translation>Do you want to replace them?</translation>
    </message>
    <message>
        <source>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</source>
        <translation>The automatic backup of the document could not be saved: if the program closes unexpectedly, the latest changes will be lost.</translation>
    </message>
    <message>
        <source>La lección se ha importado con estos cambios:</source>
        <translation>The lesson was imported with these changes:</translation>
    </message>
    <message>
        <source>La lección se ha abierto con estos cambios:</source>
        <translation>The lesson was opened with these changes:</translation>
    </message>
    <message>
        <source>… y %1 más.</source>
        <translation>… and %1 more.</translation>
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
        <translation>Sector</translation>
    </message>
    <message>
        <source>Cuerda</source>
        <translation>Chord</translation>
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
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>DRichTextEditor</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
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
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Editar Texto</source>
        <translation>Edit text</translation>
    </message>
</context>
<context>
    <name>DScreenRecord</name>
    <message>
        <source>Ya hay una grabación en curso</source>
        <translation>A recording is already in progress</translation>
    </message>
    <message>
        <source>Error al iniciar la grabación</source>
        <translation>Error starting the recording</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Error saving the recording</translation>
    </message>
    <message>
        <source>Error al grabar la pantalla</source>
        <translation>Error recording the screen</translation>
    </message>
    <message>
        <source>Convirtiendo la grabación…</source>
        <translation>Converting the recording…</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
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
        <translation>Kids</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>Interfaz por defecto</source>
        <translation>Default interface</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Spanish</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portuguese</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>German</translation>
    </message>
    <message>
        <source>Idioma por defecto</source>
        <translation>Default language</translation>
    </message>
    <message>
        <source>Autoguardado (min)</source>
        <translation>Autosave (min)</translation>
    </message>
    <message>
        <source>Color de página por defecto</source>
        <translation>Default page color</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Restaurar Valores por Defecto</source>
        <translation>Restore the default values?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>DShareScreen</name>
    <message>
        <source>Compartir con los demás</source>
        <translation>Share with others</translation>
    </message>
    <message>
        <source>Compartir pantalla con los demás</source>
        <translation>Share the screen with others</translation>
    </message>
    <message>
        <source>Conectando...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>Escanea el siguiente codigo QR</source>
        <translation>Scan this QR code</translation>
    </message>
    <message>
        <source>No se puede abrir el puerto %1</source>
        <translation>Port %1 cannot be opened</translation>
    </message>
    <message>
        <source>Puede que otro programa lo esté usando</source>
        <translation>Another program may be using it</translation>
    </message>
    <message>
        <source>Sin conexión</source>
        <translation>Not connected</translation>
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
        <translation>Transparent page</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Pencil</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Highlighter</translation>
    </message>
    <message>
        <source>Borrador de objetos</source>
        <translation>Object eraser</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Clear page</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Exit</translation>
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
        <translation>Rows</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Columnas</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>DView</name>
    <message>
        <source>Borrar</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Bloquear</source>
        <translation>Lock</translation>
    </message>
    <message>
        <source>Capas</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>Traer al frente</source>
        <translation>Bring to front</translation>
    </message>
    <message>
        <source>Llevar al fondo</source>
        <translation>Send to back</translation>
    </message>
    <message>
        <source>Clonar</source>
        <translation>Clone</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Grupo</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Agrupar</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Desagrupar</source>
        <translation>Ungroup</translation>
    </message>
    <message>
        <source>Rotar</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Rotar 45º</source>
        <translation>Rotate 45°</translation>
    </message>
    <message>
        <source>Rotar 90º</source>
        <translation>Rotate 90°</translation>
    </message>
    <message>
        <source>Rotar 180º</source>
        <translation>Rotate 180°</translation>
    </message>
    <message>
        <source>Rotar 270º</source>
        <translation>Rotate 270°</translation>
    </message>
    <message>
        <source>Enlazar</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Enlace Web</source>
        <translation>Web link</translation>
    </message>
    <message>
        <source>Enlace a una página</source>
        <translation>Link to a page</translation>
    </message>
    <message>
        <source>Enlace a un fichero</source>
        <translation>Link to a file</translation>
    </message>
    <message>
        <source>Enlace de video</source>
        <translation>Video link</translation>
    </message>
    <message>
        <source>Enlace de audio</source>
        <translation>Audio link</translation>
    </message>
    <message>
        <source>Colorear</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Fill color</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Border color</translation>
    </message>
    <message>
        <source>Convertir en texto offline</source>
        <translation>Convert to text (offline)</translation>
    </message>
    <message>
        <source>Convertir en texto online</source>
        <translation>Convert to text (online)</translation>
    </message>
</context>
<context>
    <name>LessonPictures</name>
    <message>
        <source>Página %1: %2</source>
        <translation>Page %1: %2</translation>
    </message>
    <message>
        <source>La lección la conserva tal como venía, y la guarda con ella.</source>
        <translation>The lesson keeps it as it came, and saves it with itself.</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Atención</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Desea eliminar la página</source>
        <translation>Delete this page?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Debe reiniciar Veltorina para que los cambios surtan efecto</source>
        <translation>Restart Veltorina for the changes to take effect</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de ayuda</source>
        <translation>The help file cannot be found</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda</source>
        <translation>The help cannot be opened</translation>
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
        <translation>“%1” could not be imported: %2</translation>
    </message>
    <message>
        <source>no se puede crear una carpeta temporal donde convertir sus páginas.</source>
        <translation>no temporary folder can be made to convert its pages in.</translation>
    </message>
    <message>
        <source>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</source>
        <translation>the program “%1”, which reads its pages, is missing (package poppler-utils).</translation>
    </message>
    <message>
        <source>leer la lista de sus páginas ha tardado más de %1 segundos.</source>
        <translation>reading the list of its pages took more than %1 seconds.</translation>
    </message>
    <message>
        <source>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</source>
        <translation>it cannot be read as a PDF document: it is damaged, protected by a password or not a PDF.</translation>
    </message>
    <message>
        <source>%1, página %2</source>
        <translation>%1, page %2</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla.</source>
        <translation>Page %1: the converter could not convert it.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla («%2»).</source>
        <translation>Page %1: the converter could not convert it (“%2”).</translation>
    </message>
    <message>
        <source>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</source>
        <translation>Page %1: converting it took more than %2 seconds and it was left out.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</source>
        <translation>Page %1: the converter stopped with a fault while converting it.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha dado ninguna imagen.</source>
        <translation>Page %1: the converter gave no picture.</translation>
    </message>
    <message>
        <source>la lección tendría más objetos de los que admite la pizarra (%1).</source>
        <translation>the lesson would have more objects than the board allows (%1).</translation>
    </message>
    <message>
        <source>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</source>
        <translation>the %1 pages before each took more than %2 seconds to convert.</translation>
    </message>
    <message>
        <source>La página %1 no se ha importado: %2</source>
        <translation>Page %1 was not imported: %2</translation>
    </message>
    <message>
        <source>Las páginas %1 a %2 no se han importado: %3</source>
        <translation>Pages %1 to %2 were not imported: %3</translation>
    </message>
    <message>
        <source>Se han importado %1 de las %2 páginas de «%3».</source>
        <translation>%1 of the %2 pages of “%3” were imported.</translation>
    </message>
    <message>
        <source>Avisos sobre otras páginas que no se muestran aquí: %1.</source>
        <translation>Notes about other pages not shown here: %1.</translation>
    </message>
</context>
<context>
    <name>PictureReading</name>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</source>
        <translation>The animation “%1” measures %2 x %3 pixels, more than the board can animate, and is shown still.</translation>
    </message>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</source>
        <translation>The animation “%1” measures %2 x %3 pixels, more than the board takes, and is shown still, reduced to %4 x %5.</translation>
    </message>
    <message>
        <source>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</source>
        <translation>The picture “%1” measures %2 x %3 pixels, more than the board takes, and was reduced to %4 x %5.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</source>
        <translation>The picture “%1” was not used: it measures %2 x %3 pixels, and the board takes at most %4 pixels a side and %5 million pixels.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</source>
        <translation>The picture “%1” was not used: it measures %2 x %3 pixels, and reading it would take more than %4 MB of memory.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</source>
        <translation>The picture “%1” was not used: how much memory it would take cannot be known without reading it whole.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</source>
        <translation>The picture “%1” was not used: reading it needed more memory than the board allows it.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</source>
        <translation>The picture “%1” was not used: reading it was taking too long.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</source>
        <translation>The picture “%1” was not used: its reader failed while reading it.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</source>
        <translation>The picture “%1” could not be read: it is missing, or it is not a file that can be opened.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</source>
        <translation>The picture “%1” could not be read: it is not a picture in any format the board can read.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: está dañada.</source>
        <translation>The picture “%1” could not be read: it is damaged.</translation>
    </message>
    <message>
        <source>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</source>
        <translation>The animation “%1” has %2 frames, more than the board can animate, and is shown still.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</source>
        <translation>The picture “%1” was not used: it measures %2 x %3 pixels, but the text and other data it holds would take more than %4 MB of memory to read.</translation>
    </message>
    <message>
        <source>falta, o no se puede abrir</source>
        <translation>it is missing, or cannot be opened</translation>
    </message>
    <message>
        <source>está fuera de la carpeta de la imagen</source>
        <translation>it is outside the picture&apos;s folder</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo</source>
        <translation>it is a device, not a file</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo</source>
        <translation>it is a pipe, not a file</translation>
    </message>
    <message>
        <source>está en una carpeta de tipos de letra</source>
        <translation>it is in a fonts folder</translation>
    </message>
    <message>
        <source>está en una carpeta del sistema (/proc, /sys o /dev)</source>
        <translation>it is in a system folder (/proc, /sys or /dev)</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin «%2», que enlaza: %3.</source>
        <translation>The picture “%1” is shown without “%2”, which it links to: %3.</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</source>
        <translation>The picture “%1” is shown without %2 pictures it links to: %3.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</source>
        <translation>The picture “%1” was not used: it links to itself, directly or through another picture, and drawing it would never end.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>FullScreen</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>Service not available</source>
        <translation>Service not available</translation>
    </message>
    <message>
        <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
        <translation>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Loading...</translation>
    </message>
    <message>
        <source>Media Stalled</source>
        <translation>Media stalled</translation>
    </message>
    <message>
        <source>Buffering %4%</source>
        <translation>Buffering %4%</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Hue</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Color Options</source>
        <translation>Color options</translation>
    </message>
    <message>
        <source>No se puede reproducir este archivo</source>
        <translation>This file cannot be played</translation>
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
        <translation>PDF page backgrounds (%1): not imported</translation>
    </message>
    <message>
        <source>Miniaplicaciones (%1): no se han importado</source>
        <translation>Widgets (%1): not imported</translation>
    </message>
    <message>
        <source>Papel cuadriculado o pautado (%1): no se ha importado</source>
        <translation>Grid or ruled paper (%1): not imported</translation>
    </message>
    <message>
        <source>Grupos de objetos (%1): sus objetos quedan sueltos</source>
        <translation>Groups of objects (%1): their objects are now separate</translation>
    </message>
    <message>
        <source>Objetos bloqueados (%1): quedan desbloqueados</source>
        <translation>Locked objects (%1): now unlocked</translation>
    </message>
    <message>
        <source>Reglas y otros instrumentos (%1): no se han importado</source>
        <translation>Rulers and other instruments (%1): not imported</translation>
    </message>
    <message>
        <source>Imágenes de fondo de página (%1): quedan como imágenes normales</source>
        <translation>Page background pictures (%1): now ordinary pictures</translation>
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
        <translation>Dash-dot line</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Dashed line</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Dotted line</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Solid line</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>More colors</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Color de Pincel</source>
        <translation>Pen color</translation>
    </message>
    <message>
        <source>Color de Fondo</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>Estilo de línea</source>
        <translation>Line style</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>Transparencia de línea</source>
        <translation>Line transparency</translation>
    </message>
</context>
<context>
    <name>WidgetEraserSelector</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Clear page</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <source>Borrador de objectos</source>
        <translation>Object eraser</translation>
    </message>
</context>
<context>
    <name>WidgetMMISelector</name>
    <message>
        <source>Imágen</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Pdf</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Open video</translation>
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
        <translation>Table</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>WidgetMenuSelector</name>
    <message>
        <source>Nuevo Archivo</source>
        <translation>New file</translation>
    </message>
    <message>
        <source>Abrir/Importar Archivo</source>
        <translation>Open/Import file</translation>
    </message>
    <message>
        <source>Guardar Archivo</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Guardar Archivo Como</source>
        <translation>Save file as</translation>
    </message>
    <message>
        <source>Exportar Archivo</source>
        <translation>Export file</translation>
    </message>
    <message>
        <source>Idioma</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Multiusuario</source>
        <translation>Multi-user</translation>
    </message>
    <message>
        <source>Cambiar interfaz</source>
        <translation>Change interface</translation>
    </message>
    <message>
        <source>Versión: 0.24 BETA</source>
        <translation>Version: 0.24 BETA</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>&lt; Atrás</source>
        <translation>&lt; Back</translation>
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
        <translation>English</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Spanish</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portuguese</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>German</translation>
    </message>
    <message>
        <source>Estandar</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Kids</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>WidgetPageSelector</name>
    <message>
        <source>Ampliar página</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Disminuir página</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Move page</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Reset view</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>White page</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Picture page</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Screenshot page</translation>
    </message>
    <message>
        <source>Página transparente</source>
        <translation>Transparent page</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Clear page</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Delete page</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>More colors</translation>
    </message>
</context>
<context>
    <name>WidgetPenSelector</name>
    <message>
        <source>Lápiz</source>
        <translation>Pencil</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Highlighter</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Smart pen</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Fountain pen</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Solid line</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Dotted line</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Dashed line</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Dash-dot line</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>More colors</translation>
    </message>
</context>
<context>
    <name>WidgetShapeSelector</name>
    <message>
        <source>Línea</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Triángulo equilátero</source>
        <translation>Equilateral triangle</translation>
    </message>
    <message>
        <source>Triángulo rectángulo</source>
        <translation>Right triangle</translation>
    </message>
    <message>
        <source>Elipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Rectángulo</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Rounded rectangle</translation>
    </message>
    <message>
        <source>Paralelogramo</source>
        <translation>Parallelogram</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Rhombus</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Pentagon</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Hexagon</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Arrow</translation>
    </message>
    <message>
        <source>Doble flecha</source>
        <translation>Double arrow</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Star</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cube</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cone</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cylinder</translation>
    </message>
    <message>
        <source>Esfera</source>
        <translation>Sphere</translation>
    </message>
    <message>
        <source>Relleno</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Solid line</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Dotted line</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Dashed line</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Dash-dot line</translation>
    </message>
    <message>
        <source>Fondo Solido</source>
        <translation>Solid</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Fill color</translation>
    </message>
    <message>
        <source>Fondo Imagen</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Fondo Trama</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>Borde</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Border color</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>More colors</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open image</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Image files (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Fondo Gradiente</source>
        <translation>Gradient</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>WidgetToolSelector</name>
    <message>
        <source>Cortina</source>
        <translation>Curtain</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Spotlight</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculator</translation>
    </message>
    <message>
        <source>Capturadora</source>
        <translation>Screen capture</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Magnifier</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Ruler</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Set square</translation>
    </message>
    <message>
        <source>Compás</source>
        <translation>Compass</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Protractor</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Share screen</translation>
    </message>
    <message>
        <source>Teclado</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Navegador</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Actividades interactivas</source>
        <translation>Interactive activities</translation>
    </message>
    <message>
        <source>Grabar acción</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>Reproducir acción</source>
        <translation>Play recording</translation>
    </message>
    <message>
        <source>Pausar acción</source>
        <translation>Pause recording</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>No queda espacio libre en el disco.</source>
        <translation>There is no free space left on the disk.</translation>
    </message>
    <message>
        <source>No tiene permiso para escribir en esa carpeta.</source>
        <translation>You do not have permission to write to that folder.</translation>
    </message>
    <message>
        <source>El disco o la carpeta es de solo lectura.</source>
        <translation>The disk or the folder is read-only.</translation>
    </message>
</context>
</TS>
