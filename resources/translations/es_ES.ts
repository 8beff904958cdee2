<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="es_ES">
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
        <translation>Retroceso</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Borrar todo</translation>
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
        <translation>Raíz</translation>
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
        <translation>Calculadora</translation>
    </message>
</context>
<context>
    <name>DClock</name>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Clock Mode</source>
        <translation>Modo reloj</translation>
    </message>
    <message>
        <source>Timer Mode</source>
        <translation>Modo cronómetro</translation>
    </message>
    <message>
        <source>Countdown Mode</source>
        <translation>Modo cuenta atrás</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Reducir</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparente</translation>
    </message>
    <message>
        <source>Translucent</source>
        <translation>Translúcido</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Opaco</translation>
    </message>
    <message>
        <source>Display LCD</source>
        <translation>Mostrar pantalla LCD</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ocultar</translation>
    </message>
</context>
<context>
    <name>DCompass</name>
    <message>
        <source>Semicircunferencia</source>
        <translation>Semicircunferencia</translation>
    </message>
    <message>
        <source>Circunferencia</source>
        <translation>Circunferencia</translation>
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
        <translation>Formulario</translation>
    </message>
</context>
<context>
    <name>DMainUi</name>
    <message>
        <source>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</source>
        <translation>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Seleccionar</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Escritorio</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Menú</source>
        <translation>Menú</translation>
    </message>
    <message>
        <source>Páginas</source>
        <translation>Páginas</translation>
    </message>
    <message>
        <source>Pinceles</source>
        <translation>Pinceles</translation>
    </message>
    <message>
        <source>Figuras</source>
        <translation>Figuras</translation>
    </message>
    <message>
        <source>Borradores</source>
        <translation>Borradores</translation>
    </message>
    <message>
        <source>Objectos multimedia</source>
        <translation>Objectos multimedia</translation>
    </message>
    <message>
        <source>Acciones de página</source>
        <translation>Acciones de página</translation>
    </message>
    <message>
        <source>Herramientas</source>
        <translation>Herramientas</translation>
    </message>
    <message>
        <source>Recursos</source>
        <translation>Recursos</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Página blanca</translation>
    </message>
    <message>
        <source>Página Transparente</source>
        <translation>Página Transparente</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Página de captura</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Página de imagen</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpiar página</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Eliminar página</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Lápiz</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Subrayador</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Estilográfico</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Lápiz Inteligente</translation>
    </message>
    <message>
        <source>Borrador de objeto</source>
        <translation>Borrador de objeto</translation>
    </message>
    <message>
        <source>Borrador grande</source>
        <translation>Borrador grande</translation>
    </message>
    <message>
        <source>Borrador mediano</source>
        <translation>Borrador mediano</translation>
    </message>
    <message>
        <source>Borrador pequeño</source>
        <translation>Borrador pequeño</translation>
    </message>
    <message>
        <source>Línea</source>
        <translation>Línea</translation>
    </message>
    <message>
        <source>Triángulo rectangulo</source>
        <translation>Triángulo rectangulo</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>Elipse</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Pentágono</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Hexágono</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Flecha</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cubo</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cono</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Triángulo</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Cuadrado</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Estrella</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Rombo</translation>
    </message>
    <message>
        <source>Doble Flecha</source>
        <translation>Doble Flecha</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cilindro</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Rectángulo redondeado</translation>
    </message>
    <message>
        <source>Imagen</source>
        <translation>Imagen</translation>
    </message>
    <message>
        <source>Vídeo</source>
        <translation>Vídeo</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Ampliar página</source>
        <translation>Ampliar página</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Mover página</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Reducir página</source>
        <translation>Reducir página</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Posición inicial</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Página posterior</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Foco</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Lupa</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Regla</translation>
    </message>
    <message>
        <source>Compas</source>
        <translation>Compas</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Compartir pantalla</translation>
    </message>
    <message>
        <source>Cortina</source>
        <translation>Cortina</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Reloj</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Escuadra</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Trasportador</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculadora</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Transparencia</source>
        <translation>Transparencia</translation>
    </message>
    <message>
        <source>Grosor</source>
        <translation>Grosor</translation>
    </message>
    <message>
        <source>Estilo</source>
        <translation>Estilo</translation>
    </message>
    <message>
        <source>Ocultar barra</source>
        <translation>Ocultar barra</translation>
    </message>
    <message>
        <source>Objetos multimedia</source>
        <translation>Objetos multimedia</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Estilográfica</source>
        <translation>Estilográfica</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Borrador</translation>
    </message>
    <message>
        <source>Salir modo multiusuario</source>
        <translation>Salir modo multiusuario</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
</context>
<context>
    <name>DPage</name>
    <message>
        <source>Importando «%1»…</source>
        <translation>Importando «%1»…</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atención</translation>
    </message>
    <message>
        <source>Abrir Imagen</source>
        <translation>Abrir Imagen</translation>
    </message>
    <message>
        <source>Abrir Documento</source>
        <translation>Abrir Documento</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Abrir Vídeo</translation>
    </message>
    <message>
        <source>Error al insertar el vídeo</source>
        <translation>Error al insertar el vídeo</translation>
    </message>
    <message>
        <source>Abrir Audio</source>
        <translation>Abrir Audio</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Error al guardar la grabación</translation>
    </message>
    <message>
        <source>No se ha encontrado el programa de actividades</source>
        <translation>No se ha encontrado el programa de actividades</translation>
    </message>
    <message>
        <source>Error al iniciar el programa de actividades</source>
        <translation>Error al iniciar el programa de actividades</translation>
    </message>
    <message>
        <source>Error al abrir el navegador</source>
        <translation>Error al abrir el navegador</translation>
    </message>
    <message>
        <source>Editar enlace</source>
        <translation>Editar enlace</translation>
    </message>
    <message>
        <source>Inserte un enlace web</source>
        <translation>Inserte un enlace web</translation>
    </message>
    <message>
        <source>Inserte número de página a enlazar</source>
        <translation>Inserte número de página a enlazar</translation>
    </message>
    <message>
        <source>Desea limpiar la página</source>
        <translation>Desea limpiar la página</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Si</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>Abrir audio</translation>
    </message>
    <message>
        <source>Error al convertir a texto</source>
        <translation>Error al convertir a texto</translation>
    </message>
</context>
<context>
    <name>DPagesList</name>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagen</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atención</translation>
    </message>
    <message>
        <source>Desea restaurar el archivo no guardado</source>
        <translation>Desea restaurar el archivo no guardado</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Si</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Error al guardar archivo</source>
        <translation>Error al guardar archivo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Desea Guardar el Archivo</source>
        <translation>Desea Guardar el Archivo</translation>
    </message>
    <message>
        <source>Desea guardar el archivo</source>
        <translation>Desea guardar el archivo</translation>
    </message>
    <message>
        <source>Desea exportar el archivo</source>
        <translation>Desea exportar el archivo</translation>
    </message>
    <message>
        <source>Guardar archivo</source>
        <translation>Guardar archivo</translation>
    </message>
    <message>
        <source>Exportar archivo</source>
        <translation>Exportar archivo</translation>
    </message>
    <message>
        <source>Abrir Archivo</source>
        <translation>Abrir Archivo</translation>
    </message>
    <message>
        <source>Error al abrir archivo</source>
        <translation>Error al abrir archivo</translation>
    </message>
    <message>
        <source>Error al exportar archivo</source>
        <translation>Error al exportar archivo</translation>
    </message>
    <message>
        <source>El documento está dañado y no se ha podido abrir entero.</source>
        <translation>El documento está dañado y no se ha podido abrir entero.</translation>
    </message>
    <message>
        <source>El documento se ha guardado sin estos archivos, que no se encuentran:</source>
        <translation>El documento se ha guardado sin estos archivos, que no se encuentran:</translation>
    </message>
    <message>
        <source>Guardando el documento…</source>
        <translation>Guardando el documento…</translation>
    </message>
    <message>
        <source>Abriendo el documento…</source>
        <translation>Abriendo el documento…</translation>
    </message>
    <message>
        <source>Exportando el documento…</source>
        <translation>Exportando el documento…</translation>
    </message>
    <message>
        <source>El archivo %1 ya existe.</source>
        <translation>El archivo %1 ya existe.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlo?</source>
        <translation>¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>Los archivos de la carpeta %1 ya existen.</source>
        <translation>Los archivos de la carpeta %1 ya existen.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlos?</source>
        <translation>¿Desea reemplazarlos?</translation>
    </message>
    <message>
        <source>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</source>
        <translation>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</translation>
    </message>
    <message>
        <source>La lección se ha importado con estos cambios:</source>
        <translation>La lección se ha importado con estos cambios:</translation>
    </message>
    <message>
        <source>La lección se ha abierto con estos cambios:</source>
        <translation>La lección se ha abierto con estos cambios:</translation>
    </message>
    <message>
        <source>… y %1 más.</source>
        <translation>… y %1 más.</translation>
    </message>
</context>
<context>
    <name>DProtractor</name>
    <message>
        <source>Arco</source>
        <translation>Arco</translation>
    </message>
    <message>
        <source>Porción</source>
        <translation>Porción</translation>
    </message>
    <message>
        <source>Cuerda</source>
        <translation>Cuerda</translation>
    </message>
    <message>
        <source>Ángulo</source>
        <translation>Ángulo</translation>
    </message>
    <message>
        <source>Triangulo</source>
        <translation>Triangulo</translation>
    </message>
</context>
<context>
    <name>DResources</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
</context>
<context>
    <name>DRichTextEditor</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
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
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Editar Texto</source>
        <translation>Editar Texto</translation>
    </message>
</context>
<context>
    <name>DScreenRecord</name>
    <message>
        <source>Ya hay una grabación en curso</source>
        <translation>Ya hay una grabación en curso</translation>
    </message>
    <message>
        <source>Error al iniciar la grabación</source>
        <translation>Error al iniciar la grabación</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Guardar archivo</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Error al guardar la grabación</translation>
    </message>
    <message>
        <source>Error al grabar la pantalla</source>
        <translation>Error al grabar la pantalla</translation>
    </message>
    <message>
        <source>Convirtiendo la grabación…</source>
        <translation>Convirtiendo la grabación…</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>DSetting</name>
    <message>
        <source>Estandar</source>
        <translation>Estandar</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Infantil</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Clásica</translation>
    </message>
    <message>
        <source>Interfaz por defecto</source>
        <translation>Interfaz por defecto</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Español</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>Inglés</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Ruso</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portugués</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Francés</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Alemán</translation>
    </message>
    <message>
        <source>Idioma por defecto</source>
        <translation>Idioma por defecto</translation>
    </message>
    <message>
        <source>Autoguardado (min)</source>
        <translation>Autoguardado (min)</translation>
    </message>
    <message>
        <source>Color de página por defecto</source>
        <translation>Color de página por defecto</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atención</translation>
    </message>
    <message>
        <source>Restaurar Valores por Defecto</source>
        <translation>Restaurar Valores por Defecto</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Si</translation>
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
        <translation>Compartir con los demás</translation>
    </message>
    <message>
        <source>Compartir pantalla con los demás</source>
        <translation>Compartir pantalla con los demás</translation>
    </message>
    <message>
        <source>Conectando...</source>
        <translation>Conectando...</translation>
    </message>
    <message>
        <source>Escanea el siguiente codigo QR</source>
        <translation>Escanea el siguiente codigo QR</translation>
    </message>
    <message>
        <source>No se puede abrir el puerto %1</source>
        <translation>No se puede abrir el puerto %1</translation>
    </message>
    <message>
        <source>Puede que otro programa lo esté usando</source>
        <translation>Puede que otro programa lo esté usando</translation>
    </message>
    <message>
        <source>Sin conexión</source>
        <translation>Sin conexión</translation>
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
        <translation>Página transparente</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Seleccionar</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Lápiz</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Subrayador</translation>
    </message>
    <message>
        <source>Borrador de objetos</source>
        <translation>Borrador de objetos</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Página anterior</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Página posterior</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpiar página</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>DTableDlg</name>
    <message>
        <source>Dialog</source>
        <translation>Diálogo</translation>
    </message>
    <message>
        <source>Filas</source>
        <translation>Filas</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>Columnas</source>
        <translation>Columnas</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>DView</name>
    <message>
        <source>Borrar</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Bloquear</source>
        <translation>Bloquear</translation>
    </message>
    <message>
        <source>Capas</source>
        <translation>Capas</translation>
    </message>
    <message>
        <source>Traer al frente</source>
        <translation>Traer al frente</translation>
    </message>
    <message>
        <source>Llevar al fondo</source>
        <translation>Llevar al fondo</translation>
    </message>
    <message>
        <source>Clonar</source>
        <translation>Clonar</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Grupo</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <source>Agrupar</source>
        <translation>Agrupar</translation>
    </message>
    <message>
        <source>Desagrupar</source>
        <translation>Desagrupar</translation>
    </message>
    <message>
        <source>Rotar</source>
        <translation>Rotar</translation>
    </message>
    <message>
        <source>Rotar 45º</source>
        <translation>Rotar 45º</translation>
    </message>
    <message>
        <source>Rotar 90º</source>
        <translation>Rotar 90º</translation>
    </message>
    <message>
        <source>Rotar 180º</source>
        <translation>Rotar 180º</translation>
    </message>
    <message>
        <source>Rotar 270º</source>
        <translation>Rotar 270º</translation>
    </message>
    <message>
        <source>Enlazar</source>
        <translation>Enlazar</translation>
    </message>
    <message>
        <source>Enlace Web</source>
        <translation>Enlace Web</translation>
    </message>
    <message>
        <source>Enlace a una página</source>
        <translation>Enlace a una página</translation>
    </message>
    <message>
        <source>Enlace a un fichero</source>
        <translation>Enlace a un fichero</translation>
    </message>
    <message>
        <source>Enlace de video</source>
        <translation>Enlace de video</translation>
    </message>
    <message>
        <source>Enlace de audio</source>
        <translation>Enlace de audio</translation>
    </message>
    <message>
        <source>Colorear</source>
        <translation>Colorear</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Color de fondo</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Color de borde</translation>
    </message>
    <message>
        <source>Convertir en texto offline</source>
        <translation>Convertir en texto offline</translation>
    </message>
    <message>
        <source>Convertir en texto online</source>
        <translation>Convertir en texto online</translation>
    </message>
</context>
<context>
    <name>LessonPictures</name>
    <message>
        <source>Página %1: %2</source>
        <translation>Página %1: %2</translation>
    </message>
    <message>
        <source>La lección la conserva tal como venía, y la guarda con ella.</source>
        <translation>La lección la conserva tal como venía, y la guarda con ella.</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Atención</source>
        <translation>Atención</translation>
    </message>
    <message>
        <source>Desea eliminar la página</source>
        <translation>Desea eliminar la página</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Si</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Debe reiniciar Veltorina para que los cambios surtan efecto</source>
        <translation>Debe reiniciar Veltorina para que los cambios surtan efecto</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Escritorio</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de ayuda</source>
        <translation>No se encuentra el archivo de ayuda</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda</source>
        <translation>No se puede abrir la ayuda</translation>
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
        <translation>No se ha podido importar «%1»: %2</translation>
    </message>
    <message>
        <source>no se puede crear una carpeta temporal donde convertir sus páginas.</source>
        <translation>no se puede crear una carpeta temporal donde convertir sus páginas.</translation>
    </message>
    <message>
        <source>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</source>
        <translation>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</translation>
    </message>
    <message>
        <source>leer la lista de sus páginas ha tardado más de %1 segundos.</source>
        <translation>leer la lista de sus páginas ha tardado más de %1 segundos.</translation>
    </message>
    <message>
        <source>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</source>
        <translation>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</translation>
    </message>
    <message>
        <source>%1, página %2</source>
        <translation>%1, página %2</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla.</source>
        <translation>Página %1: el programa de conversión no ha podido convertirla.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla («%2»).</source>
        <translation>Página %1: el programa de conversión no ha podido convertirla («%2»).</translation>
    </message>
    <message>
        <source>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</source>
        <translation>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</source>
        <translation>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha dado ninguna imagen.</source>
        <translation>Página %1: el programa de conversión no ha dado ninguna imagen.</translation>
    </message>
    <message>
        <source>la lección tendría más objetos de los que admite la pizarra (%1).</source>
        <translation>la lección tendría más objetos de los que admite la pizarra (%1).</translation>
    </message>
    <message>
        <source>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</source>
        <translation>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</translation>
    </message>
    <message>
        <source>La página %1 no se ha importado: %2</source>
        <translation>La página %1 no se ha importado: %2</translation>
    </message>
    <message>
        <source>Las páginas %1 a %2 no se han importado: %3</source>
        <translation>Las páginas %1 a %2 no se han importado: %3</translation>
    </message>
    <message>
        <source>Se han importado %1 de las %2 páginas de «%3».</source>
        <translation>Se han importado %1 de las %2 páginas de «%3».</translation>
    </message>
    <message>
        <source>Avisos sobre otras páginas que no se muestran aquí: %1.</source>
        <translation>Avisos sobre otras páginas que no se muestran aquí: %1.</translation>
    </message>
</context>
<context>
    <name>PictureReading</name>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</source>
        <translation>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</translation>
    </message>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</source>
        <translation>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</translation>
    </message>
    <message>
        <source>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</source>
        <translation>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</source>
        <translation>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</source>
        <translation>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</source>
        <translation>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</source>
        <translation>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</source>
        <translation>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</source>
        <translation>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</source>
        <translation>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</source>
        <translation>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: está dañada.</source>
        <translation>No se ha podido leer la imagen «%1»: está dañada.</translation>
    </message>
    <message>
        <source>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</source>
        <translation>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</source>
        <translation>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</translation>
    </message>
    <message>
        <source>falta, o no se puede abrir</source>
        <translation>falta, o no se puede abrir</translation>
    </message>
    <message>
        <source>está fuera de la carpeta de la imagen</source>
        <translation>está fuera de la carpeta de la imagen</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo</source>
        <translation>es un dispositivo, no un archivo</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo</source>
        <translation>es una tubería, no un archivo</translation>
    </message>
    <message>
        <source>está en una carpeta de tipos de letra</source>
        <translation>está en una carpeta de tipos de letra</translation>
    </message>
    <message>
        <source>está en una carpeta del sistema (/proc, /sys o /dev)</source>
        <translation>está en una carpeta del sistema (/proc, /sys o /dev)</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin «%2», que enlaza: %3.</source>
        <translation>La imagen «%1» se muestra sin «%2», que enlaza: %3.</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</source>
        <translation>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</source>
        <translation>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>FullScreen</source>
        <translation>Pantalla completa</translation>
    </message>
    <message>
        <source>Service not available</source>
        <translation>Servicio no disponible</translation>
    </message>
    <message>
        <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
        <translation>El objeto QMediaPlayer no tiene un servicio válido.
Compruebe que los complementos multimedia están instalados.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Cargando...</translation>
    </message>
    <message>
        <source>Media Stalled</source>
        <translation>Reproducción detenida</translation>
    </message>
    <message>
        <source>Buffering %4%</source>
        <translation>Cargando en memoria %4%</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brillo</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Tono</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturación</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Color Options</source>
        <translation>Opciones de color</translation>
    </message>
    <message>
        <source>No se puede reproducir este archivo</source>
        <translation>No se puede reproducir este archivo</translation>
    </message>
</context>
<context>
    <name>UbzReader</name>
    <message>
        <source>página %1</source>
        <translation>página %1</translation>
    </message>
    <message>
        <source>páginas %1</source>
        <translation>páginas %1</translation>
    </message>
    <message>
        <source>Fondos de página en PDF (%1): no se han importado</source>
        <translation>Fondos de página en PDF (%1): no se han importado</translation>
    </message>
    <message>
        <source>Miniaplicaciones (%1): no se han importado</source>
        <translation>Miniaplicaciones (%1): no se han importado</translation>
    </message>
    <message>
        <source>Papel cuadriculado o pautado (%1): no se ha importado</source>
        <translation>Papel cuadriculado o pautado (%1): no se ha importado</translation>
    </message>
    <message>
        <source>Grupos de objetos (%1): sus objetos quedan sueltos</source>
        <translation>Grupos de objetos (%1): sus objetos quedan sueltos</translation>
    </message>
    <message>
        <source>Objetos bloqueados (%1): quedan desbloqueados</source>
        <translation>Objetos bloqueados (%1): quedan desbloqueados</translation>
    </message>
    <message>
        <source>Reglas y otros instrumentos (%1): no se han importado</source>
        <translation>Reglas y otros instrumentos (%1): no se han importado</translation>
    </message>
    <message>
        <source>Imágenes de fondo de página (%1): quedan como imágenes normales</source>
        <translation>Imágenes de fondo de página (%1): quedan como imágenes normales</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <source>VideoWidget</source>
        <translation>Vídeo</translation>
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
        <translation>Línea punteo-rayada</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Línea rayada</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Línea punteada</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Línea sólida</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Más colores</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Color de Pincel</source>
        <translation>Color de Pincel</translation>
    </message>
    <message>
        <source>Color de Fondo</source>
        <translation>Color de Fondo</translation>
    </message>
    <message>
        <source>Estilo de línea</source>
        <translation>Estilo de línea</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Grosor de línea</translation>
    </message>
    <message>
        <source>Transparencia de línea</source>
        <translation>Transparencia de línea</translation>
    </message>
</context>
<context>
    <name>WidgetEraserSelector</name>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpiar página</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Borrador</translation>
    </message>
    <message>
        <source>Borrador de objectos</source>
        <translation>Borrador de objectos</translation>
    </message>
</context>
<context>
    <name>WidgetMMISelector</name>
    <message>
        <source>Imágen</source>
        <translation>Imágen</translation>
    </message>
    <message>
        <source>Pdf</source>
        <translation>Pdf</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Abrir Vídeo</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Tabla</source>
        <translation>Tabla</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
</context>
<context>
    <name>WidgetMenuSelector</name>
    <message>
        <source>Nuevo Archivo</source>
        <translation>Nuevo Archivo</translation>
    </message>
    <message>
        <source>Abrir/Importar Archivo</source>
        <translation>Abrir/Importar Archivo</translation>
    </message>
    <message>
        <source>Guardar Archivo</source>
        <translation>Guardar Archivo</translation>
    </message>
    <message>
        <source>Guardar Archivo Como</source>
        <translation>Guardar Archivo Como</translation>
    </message>
    <message>
        <source>Exportar Archivo</source>
        <translation>Exportar Archivo</translation>
    </message>
    <message>
        <source>Idioma</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Multiusuario</source>
        <translation>Multiusuario</translation>
    </message>
    <message>
        <source>Cambiar interfaz</source>
        <translation>Cambiar interfaz</translation>
    </message>
    <message>
        <source>Versión: 0.24 BETA</source>
        <translation>Versión: 0.24 BETA</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>&lt; Atrás</source>
        <translation>&lt; Atrás</translation>
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
        <translation>Inglés</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Español</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Ruso</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Portugués</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Francés</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Alemán</translation>
    </message>
    <message>
        <source>Estandar</source>
        <translation>Estandar</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Infantil</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Clásica</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
</context>
<context>
    <name>WidgetPageSelector</name>
    <message>
        <source>Ampliar página</source>
        <translation>Ampliar página</translation>
    </message>
    <message>
        <source>Disminuir página</source>
        <translation>Disminuir página</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Mover página</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Posición inicial</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Página blanca</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Página de imagen</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Página de captura</translation>
    </message>
    <message>
        <source>Página transparente</source>
        <translation>Página transparente</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpiar página</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Eliminar página</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Más colores</translation>
    </message>
</context>
<context>
    <name>WidgetPenSelector</name>
    <message>
        <source>Lápiz</source>
        <translation>Lápiz</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Subrayador</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Lápiz Inteligente</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Estilográfico</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Línea sólida</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Línea punteada</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Línea rayada</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Línea punteo-rayada</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Grosor de línea</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Más colores</translation>
    </message>
</context>
<context>
    <name>WidgetShapeSelector</name>
    <message>
        <source>Línea</source>
        <translation>Línea</translation>
    </message>
    <message>
        <source>Triángulo equilátero</source>
        <translation>Triángulo equilátero</translation>
    </message>
    <message>
        <source>Triángulo rectángulo</source>
        <translation>Triángulo rectángulo</translation>
    </message>
    <message>
        <source>Elipse</source>
        <translation>Elipse</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Cuadrado</translation>
    </message>
    <message>
        <source>Rectángulo</source>
        <translation>Rectángulo</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Rectángulo redondeado</translation>
    </message>
    <message>
        <source>Paralelogramo</source>
        <translation>Paralelogramo</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Rombo</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Pentágono</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Hexágono</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Flecha</translation>
    </message>
    <message>
        <source>Doble flecha</source>
        <translation>Doble flecha</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Estrella</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cubo</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cono</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cilindro</translation>
    </message>
    <message>
        <source>Esfera</source>
        <translation>Esfera</translation>
    </message>
    <message>
        <source>Relleno</source>
        <translation>Relleno</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Línea sólida</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Línea punteada</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Línea rayada</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Línea punteo-rayada</translation>
    </message>
    <message>
        <source>Fondo Solido</source>
        <translation>Fondo Solido</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Color de fondo</translation>
    </message>
    <message>
        <source>Fondo Imagen</source>
        <translation>Fondo Imagen</translation>
    </message>
    <message>
        <source>Fondo Trama</source>
        <translation>Fondo Trama</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Grosor de línea</translation>
    </message>
    <message>
        <source>Borde</source>
        <translation>Borde</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Color de borde</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Más colores</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagen</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Archivos de imagen (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Fondo Gradiente</source>
        <translation>Fondo Gradiente</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atención</translation>
    </message>
</context>
<context>
    <name>WidgetToolSelector</name>
    <message>
        <source>Cortina</source>
        <translation>Cortina</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Foco</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculadora</translation>
    </message>
    <message>
        <source>Capturadora</source>
        <translation>Capturadora</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Lupa</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Regla</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Escuadra</translation>
    </message>
    <message>
        <source>Compás</source>
        <translation>Compás</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Trasportador</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Reloj</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Compartir pantalla</translation>
    </message>
    <message>
        <source>Teclado</source>
        <translation>Teclado</translation>
    </message>
    <message>
        <source>Navegador</source>
        <translation>Navegador</translation>
    </message>
    <message>
        <source>Actividades interactivas</source>
        <translation>Actividades interactivas</translation>
    </message>
    <message>
        <source>Grabar acción</source>
        <translation>Grabar acción</translation>
    </message>
    <message>
        <source>Reproducir acción</source>
        <translation>Reproducir acción</translation>
    </message>
    <message>
        <source>Pausar acción</source>
        <translation>Pausar acción</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulario</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>No queda espacio libre en el disco.</source>
        <translation>No queda espacio libre en el disco.</translation>
    </message>
    <message>
        <source>No tiene permiso para escribir en esa carpeta.</source>
        <translation>No tiene permiso para escribir en esa carpeta.</translation>
    </message>
    <message>
        <source>El disco o la carpeta es de solo lectura.</source>
        <translation>El disco o la carpeta es de solo lectura.</translation>
    </message>
</context>
</TS>
