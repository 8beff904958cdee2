<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="es_ES">
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
        <translation>Apagar</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Limpar tudo</translation>
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
        <translation>Calculadora</translation>
    </message>
</context>
<context>
    <name>DClock</name>
    <message>
        <source>Pause</source>
        <translation>Pausar</translation>
    </message>
    <message>
        <source>Clock Mode</source>
        <translation>Modo relógio</translation>
    </message>
    <message>
        <source>Timer Mode</source>
        <translation>Cronômetro</translation>
    </message>
    <message>
        <source>Countdown Mode</source>
        <translation>Contagem regressiva</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Reduzir</translation>
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
        <translation>Visor LCD</translation>
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
        <translation>Semicircunferência</translation>
    </message>
    <message>
        <source>Circunferencia</source>
        <translation>Circunferência</translation>
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
        <translation>Formulário</translation>
    </message>
</context>
<context>
    <name>DMainUi</name>
    <message>
        <source>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</source>
        <translation>Veltorina %1

Lousa digital interativa para a sala de aula.
Escrita e mantida pela equipe de desenvolvimento do Veltorina.</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Selecionar</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Área de trabalho</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Refazer</translation>
    </message>
    <message>
        <source>Menú</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Páginas</source>
        <translation>Páginas</translation>
    </message>
    <message>
        <source>Pinceles</source>
        <translation>Canetas</translation>
    </message>
    <message>
        <source>Figuras</source>
        <translation>Formas</translation>
    </message>
    <message>
        <source>Borradores</source>
        <translation>Borrachas</translation>
    </message>
    <message>
        <source>Objectos multimedia</source>
        <translation>Mídia</translation>
    </message>
    <message>
        <source>Acciones de página</source>
        <translation>Ações da página</translation>
    </message>
    <message>
        <source>Herramientas</source>
        <translation>Ferramentas</translation>
    </message>
    <message>
        <source>Recursos</source>
        <translation>Recursos</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Página branca</translation>
    </message>
    <message>
        <source>Página Transparente</source>
        <translation>Página transparente</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Página de captura</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Página de imagem</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpar página</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Excluir página</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Lápis</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Marca-texto</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Caneta-tinteiro</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Caneta inteligente</translation>
    </message>
    <message>
        <source>Borrador de objeto</source>
        <translation>Borracha de objetos</translation>
    </message>
    <message>
        <source>Borrador grande</source>
        <translation>Borracha grande</translation>
    </message>
    <message>
        <source>Borrador mediano</source>
        <translation>Borracha média</translation>
    </message>
    <message>
        <source>Borrador pequeño</source>
        <translation>Borracha pequena</translation>
    </message>
    <message>
        <source>Línea</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>Triángulo rectangulo</source>
        <translation>Triângulo retângulo</translation>
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
        <translation>Seta</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cubo</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cone</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Triângulo</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Quadrado</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Estrela</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Losango</translation>
    </message>
    <message>
        <source>Doble Flecha</source>
        <translation>Seta dupla</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Cilindro</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Retângulo arredondado</translation>
    </message>
    <message>
        <source>Imagen</source>
        <translation>Imagem</translation>
    </message>
    <message>
        <source>Vídeo</source>
        <translation>Vídeo</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Som</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Ampliar página</source>
        <translation>Ampliar</translation>
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
        <translation>Reduzir</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Posição inicial</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Próxima página</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Holofote</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Lupa</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Régua</translation>
    </message>
    <message>
        <source>Compas</source>
        <translation>Compasso</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Compartilhar tela</translation>
    </message>
    <message>
        <source>Cortina</source>
        <translation>Cortina</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Relógio</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Esquadro</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Transferidor</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculadora</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Cor</translation>
    </message>
    <message>
        <source>Transparencia</source>
        <translation>Transparência</translation>
    </message>
    <message>
        <source>Grosor</source>
        <translation>Espessura</translation>
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
        <translation>Mídia</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>Estilográfica</source>
        <translation>Caneta-tinteiro</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Borracha</translation>
    </message>
    <message>
        <source>Salir modo multiusuario</source>
        <translation>Sair do modo multiusuário</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
</context>
<context>
    <name>DPage</name>
    <message>
        <source>Importando «%1»…</source>
        <translation>Importando “%1”…</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atenção</translation>
    </message>
    <message>
        <source>Abrir Imagen</source>
        <translation>Abrir imagem</translation>
    </message>
    <message>
        <source>Abrir Documento</source>
        <translation>Abrir documento</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Abrir vídeo</translation>
    </message>
    <message>
        <source>Error al insertar el vídeo</source>
        <translation>Não foi possível inserir o vídeo</translation>
    </message>
    <message>
        <source>Abrir Audio</source>
        <translation>Abrir áudio</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Erro ao salvar a gravação</translation>
    </message>
    <message>
        <source>No se ha encontrado el programa de actividades</source>
        <translation>O programa de atividades não foi encontrado</translation>
    </message>
    <message>
        <source>Error al iniciar el programa de actividades</source>
        <translation>Erro ao iniciar o programa de atividades</translation>
    </message>
    <message>
        <source>Error al abrir el navegador</source>
        <translation>Erro ao abrir o navegador</translation>
    </message>
    <message>
        <source>Editar enlace</source>
        <translation>Editar link</translation>
    </message>
    <message>
        <source>Inserte un enlace web</source>
        <translation>Digite um link da web</translation>
    </message>
    <message>
        <source>Inserte número de página a enlazar</source>
        <translation>Digite o número da página a vincular</translation>
    </message>
    <message>
        <source>Desea limpiar la página</source>
        <translation>Limpar esta página?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>Abrir áudio</translation>
    </message>
    <message>
        <source>Error al convertir a texto</source>
        <translation>Erro ao converter em texto</translation>
    </message>
</context>
<context>
    <name>DPagesList</name>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagem</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atenção</translation>
    </message>
    <message>
        <source>Desea restaurar el archivo no guardado</source>
        <translation>Restaurar o arquivo não salvo?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Error al guardar archivo</source>
        <translation>Erro ao salvar o arquivo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Desea Guardar el Archivo</source>
        <translation>Salvar o arquivo?</translation>
    </message>
    <message>
        <source>Desea guardar el archivo</source>
        <translation>Salvar o arquivo?</translation>
    </message>
    <message>
        <source>Desea exportar el archivo</source>
        <translation>Exportar o arquivo?</translation>
    </message>
    <message>
        <source>Guardar archivo</source>
        <translation>Salvar arquivo</translation>
    </message>
    <message>
        <source>Exportar archivo</source>
        <translation>Exportar arquivo</translation>
    </message>
    <message>
        <source>Abrir Archivo</source>
        <translation>Abrir arquivo</translation>
    </message>
    <message>
        <source>Error al abrir archivo</source>
        <translation>Erro ao abrir o arquivo</translation>
    </message>
    <message>
        <source>Error al exportar archivo</source>
        <translation>Erro ao exportar o arquivo</translation>
    </message>
    <message>
        <source>El documento está dañado y no se ha podido abrir entero.</source>
        <translation>O documento está danificado e não pôde ser aberto por inteiro.</translation>
    </message>
    <message>
        <source>El documento se ha guardado sin estos archivos, que no se encuentran:</source>
        <translation>O documento foi salvo sem estes arquivos, que não foram encontrados:</translation>
    </message>
    <message>
        <source>Guardando el documento…</source>
        <translation>Salvando o documento…</translation>
    </message>
    <message>
        <source>Abriendo el documento…</source>
        <translation>Abrindo o documento…</translation>
    </message>
    <message>
        <source>Exportando el documento…</source>
        <translation>Exportando o documento…</translation>
    </message>
    <message>
        <source>El archivo %1 ya existe.</source>
        <translation>O arquivo %1 já existe.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlo?</source>
        <translation>Deseja substituí-lo?</translation>
    </message>
    <message>
        <source>Los archivos de la carpeta %1 ya existen.</source>
        <translation>Os arquivos da pasta %1 já existem.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlos?</source>
        <translation>Deseja substituí-los?</translation>
    </message>
    <message>
        <source>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</source>
        <translation>Não foi possível salvar a cópia automática do documento: se o programa fechar inesperadamente, as últimas alterações serão perdidas.</translation>
    </message>
    <message>
        <source>La lección se ha importado con estos cambios:</source>
        <translation>A lição foi importada com estas alterações:</translation>
    </message>
    <message>
        <source>La lección se ha abierto con estos cambios:</source>
        <translation>A lição foi aberta com estas alterações:</translation>
    </message>
    <message>
        <source>… y %1 más.</source>
        <translation>… e mais %1.</translation>
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
        <translation>Setor</translation>
    </message>
    <message>
        <source>Cuerda</source>
        <translation>Corda</translation>
    </message>
    <message>
        <source>Ángulo</source>
        <translation>Ângulo</translation>
    </message>
    <message>
        <source>Triangulo</source>
        <translation>Triângulo</translation>
    </message>
</context>
<context>
    <name>DResources</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
</context>
<context>
    <name>DRichTextEditor</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
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
        <translation>OK</translation>
    </message>
    <message>
        <source>Editar Texto</source>
        <translation>Editar texto</translation>
    </message>
</context>
<context>
    <name>DScreenRecord</name>
    <message>
        <source>Ya hay una grabación en curso</source>
        <translation>Já há uma gravação em andamento</translation>
    </message>
    <message>
        <source>Error al iniciar la grabación</source>
        <translation>Erro ao iniciar a gravação</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Salvar arquivo</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Erro ao salvar a gravação</translation>
    </message>
    <message>
        <source>Error al grabar la pantalla</source>
        <translation>Erro ao gravar a tela</translation>
    </message>
    <message>
        <source>Convirtiendo la grabación…</source>
        <translation>Convertendo a gravação…</translation>
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
        <translation>Padrão</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Infantil</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Clássica</translation>
    </message>
    <message>
        <source>Interfaz por defecto</source>
        <translation>Interface padrão</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Espanhol</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>Inglês</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russo</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Português</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Francês</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Alemão</translation>
    </message>
    <message>
        <source>Idioma por defecto</source>
        <translation>Idioma padrão</translation>
    </message>
    <message>
        <source>Autoguardado (min)</source>
        <translation>Salvamento automático (min)</translation>
    </message>
    <message>
        <source>Color de página por defecto</source>
        <translation>Cor padrão da página</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
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
        <translation>Preferências</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atenção</translation>
    </message>
    <message>
        <source>Restaurar Valores por Defecto</source>
        <translation>Restaurar os valores padrão?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
</context>
<context>
    <name>DShareScreen</name>
    <message>
        <source>Compartir con los demás</source>
        <translation>Compartilhar com os outros</translation>
    </message>
    <message>
        <source>Compartir pantalla con los demás</source>
        <translation>Compartilhar a tela com os outros</translation>
    </message>
    <message>
        <source>Conectando...</source>
        <translation>Conectando...</translation>
    </message>
    <message>
        <source>Escanea el siguiente codigo QR</source>
        <translation>Escaneie este código QR</translation>
    </message>
    <message>
        <source>No se puede abrir el puerto %1</source>
        <translation>Não é possível abrir a porta %1</translation>
    </message>
    <message>
        <source>Puede que otro programa lo esté usando</source>
        <translation>Talvez outro programa a esteja usando</translation>
    </message>
    <message>
        <source>Sin conexión</source>
        <translation>Sem conexão</translation>
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
        <translation>Selecionar</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Lápis</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Marca-texto</translation>
    </message>
    <message>
        <source>Borrador de objetos</source>
        <translation>Borracha de objetos</translation>
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
        <translation>Próxima página</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpar página</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Refazer</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Salvar</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Sair</translation>
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
        <translation>Linhas</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Columnas</source>
        <translation>Colunas</translation>
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
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Bloquear</source>
        <translation>Bloquear</translation>
    </message>
    <message>
        <source>Capas</source>
        <translation>Camadas</translation>
    </message>
    <message>
        <source>Traer al frente</source>
        <translation>Trazer para a frente</translation>
    </message>
    <message>
        <source>Llevar al fondo</source>
        <translation>Enviar para trás</translation>
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
        <translation>Colar</translation>
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
        <translation>Girar</translation>
    </message>
    <message>
        <source>Rotar 45º</source>
        <translation>Girar 45°</translation>
    </message>
    <message>
        <source>Rotar 90º</source>
        <translation>Girar 90°</translation>
    </message>
    <message>
        <source>Rotar 180º</source>
        <translation>Girar 180°</translation>
    </message>
    <message>
        <source>Rotar 270º</source>
        <translation>Girar 270°</translation>
    </message>
    <message>
        <source>Enlazar</source>
        <translation>Vincular</translation>
    </message>
    <message>
        <source>Enlace Web</source>
        <translation>Link da web</translation>
    </message>
    <message>
        <source>Enlace a una página</source>
        <translation>Link para uma página</translation>
    </message>
    <message>
        <source>Enlace a un fichero</source>
        <translation>Link para um arquivo</translation>
    </message>
    <message>
        <source>Enlace de video</source>
        <translation>Link de vídeo</translation>
    </message>
    <message>
        <source>Enlace de audio</source>
        <translation>Link de áudio</translation>
    </message>
    <message>
        <source>Colorear</source>
        <translation>Colorir</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Cor de preenchimento</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Cor da borda</translation>
    </message>
    <message>
        <source>Convertir en texto offline</source>
        <translation>Converter em texto (offline)</translation>
    </message>
    <message>
        <source>Convertir en texto online</source>
        <translation>Converter em texto (online)</translation>
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
        <translation>A lição a conserva como veio e a salva com ela.</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Atención</source>
        <translation>Atenção</translation>
    </message>
    <message>
        <source>Desea eliminar la página</source>
        <translation>Excluir esta página?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Sim</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Não</translation>
    </message>
    <message>
        <source>Debe reiniciar Veltorina para que los cambios surtan efecto</source>
        <translation>Reinicie o Veltorina para que as alterações tenham efeito</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Área de trabalho</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de ayuda</source>
        <translation>O arquivo de ajuda não foi encontrado</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda</source>
        <translation>Não é possível abrir a ajuda</translation>
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
        <translation>Não foi possível importar “%1”: %2</translation>
    </message>
    <message>
        <source>no se puede crear una carpeta temporal donde convertir sus páginas.</source>
        <translation>não é possível criar uma pasta temporária para converter as suas páginas.</translation>
    </message>
    <message>
        <source>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</source>
        <translation>falta o programa “%1”, que lê as suas páginas (pacote poppler-utils).</translation>
    </message>
    <message>
        <source>leer la lista de sus páginas ha tardado más de %1 segundos.</source>
        <translation>ler a lista das suas páginas levou mais de %1 segundos.</translation>
    </message>
    <message>
        <source>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</source>
        <translation>não pode ser lido como documento PDF: está danificado, protegido por senha ou não é um PDF.</translation>
    </message>
    <message>
        <source>%1, página %2</source>
        <translation>%1, página %2</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla.</source>
        <translation>Página %1: o programa de conversão não conseguiu convertê-la.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla («%2»).</source>
        <translation>Página %1: o programa de conversão não conseguiu convertê-la (“%2”).</translation>
    </message>
    <message>
        <source>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</source>
        <translation>Página %1: a conversão levou mais de %2 segundos e ela foi deixada de lado.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</source>
        <translation>Página %1: o programa de conversão parou com uma falha ao convertê-la.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha dado ninguna imagen.</source>
        <translation>Página %1: o programa de conversão não gerou nenhuma imagem.</translation>
    </message>
    <message>
        <source>la lección tendría más objetos de los que admite la pizarra (%1).</source>
        <translation>a aula teria mais objetos do que a lousa aceita (%1).</translation>
    </message>
    <message>
        <source>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</source>
        <translation>as %1 páginas anteriores levaram cada uma mais de %2 segundos para converter.</translation>
    </message>
    <message>
        <source>La página %1 no se ha importado: %2</source>
        <translation>A página %1 não foi importada: %2</translation>
    </message>
    <message>
        <source>Las páginas %1 a %2 no se han importado: %3</source>
        <translation>As páginas %1 a %2 não foram importadas: %3</translation>
    </message>
    <message>
        <source>Se han importado %1 de las %2 páginas de «%3».</source>
        <translation>Foram importadas %1 das %2 páginas de “%3”.</translation>
    </message>
    <message>
        <source>Avisos sobre otras páginas que no se muestran aquí: %1.</source>
        <translation>Avisos sobre outras páginas não mostrados aqui: %1.</translation>
    </message>
</context>
<context>
    <name>PictureReading</name>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</source>
        <translation>A animação “%1” mede %2 x %3 pixels, mais do que a lousa consegue animar, e é mostrada parada.</translation>
    </message>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</source>
        <translation>A animação “%1” mede %2 x %3 pixels, mais do que a lousa aceita, e é mostrada parada, reduzida a %4 x %5.</translation>
    </message>
    <message>
        <source>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</source>
        <translation>A imagem “%1” mede %2 x %3 pixels, mais do que a lousa aceita, e foi reduzida a %4 x %5.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</source>
        <translation>A imagem “%1” não foi usada: mede %2 x %3 pixels, e a lousa aceita no máximo %4 pixels por lado e %5 milhões de pixels.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</source>
        <translation>A imagem “%1” não foi usada: mede %2 x %3 pixels, e lê-la ocuparia mais de %4 MB de memória.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</source>
        <translation>A imagem “%1” não foi usada: não é possível saber quanta memória ocuparia sem lê-la inteira.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</source>
        <translation>A imagem “%1” não foi usada: lê-la precisava de mais memória do que a lousa lhe permite.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</source>
        <translation>A imagem “%1” não foi usada: lê-la estava demorando demais.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</source>
        <translation>A imagem “%1” não foi usada: o seu leitor falhou ao lê-la.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</source>
        <translation>Não foi possível ler a imagem “%1”: ela não existe, ou não é um arquivo que possa ser aberto.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</source>
        <translation>Não foi possível ler a imagem “%1”: não é uma imagem de nenhum formato que a lousa saiba ler.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: está dañada.</source>
        <translation>Não foi possível ler a imagem “%1”: está danificada.</translation>
    </message>
    <message>
        <source>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</source>
        <translation>A animação “%1” tem %2 quadros, mais do que a lousa consegue animar, e é mostrada parada.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</source>
        <translation>A imagem “%1” não foi usada: mede %2 x %3 pixels, mas o texto e os demais dados que ela guarda ocupariam mais de %4 MB de memória ao lê-la.</translation>
    </message>
    <message>
        <source>falta, o no se puede abrir</source>
        <translation>está faltando, ou não pode ser aberta</translation>
    </message>
    <message>
        <source>está fuera de la carpeta de la imagen</source>
        <translation>está fora da pasta da imagem</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo</source>
        <translation>é um dispositivo, não um arquivo</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo</source>
        <translation>é um pipe, não um arquivo</translation>
    </message>
    <message>
        <source>está en una carpeta de tipos de letra</source>
        <translation>está em uma pasta de fontes</translation>
    </message>
    <message>
        <source>está en una carpeta del sistema (/proc, /sys o /dev)</source>
        <translation>está em uma pasta do sistema (/proc, /sys ou /dev)</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin «%2», que enlaza: %3.</source>
        <translation>A imagem “%1” é mostrada sem “%2”, à qual ela faz ligação: %3.</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</source>
        <translation>A imagem “%1” é mostrada sem %2 imagens às quais ela faz ligação: %3.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</source>
        <translation>A imagem “%1” não foi usada: ela faz ligação a si mesma, diretamente ou por meio de outra imagem, e desenhá-la nunca terminaria.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>FullScreen</source>
        <translation>Tela cheia</translation>
    </message>
    <message>
        <source>Service not available</source>
        <translation>Serviço indisponível</translation>
    </message>
    <message>
        <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
        <translation>O objeto QMediaPlayer não tem um serviço válido.
Verifique se os plugins de serviço de mídia estão instalados.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Carregando...</translation>
    </message>
    <message>
        <source>Media Stalled</source>
        <translation>Mídia travada</translation>
    </message>
    <message>
        <source>Buffering %4%</source>
        <translation>Carregando buffer %4%</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Brilho</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Matiz</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Saturação</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Color Options</source>
        <translation>Opções de cor</translation>
    </message>
    <message>
        <source>No se puede reproducir este archivo</source>
        <translation>Não é possível reproduzir este arquivo</translation>
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
        <translation>Fundos de página em PDF (%1): não foram importados</translation>
    </message>
    <message>
        <source>Miniaplicaciones (%1): no se han importado</source>
        <translation>Miniaplicativos (%1): não foram importados</translation>
    </message>
    <message>
        <source>Papel cuadriculado o pautado (%1): no se ha importado</source>
        <translation>Papel quadriculado ou pautado (%1): não foi importado</translation>
    </message>
    <message>
        <source>Grupos de objetos (%1): sus objetos quedan sueltos</source>
        <translation>Grupos de objetos (%1): seus objetos ficam separados</translation>
    </message>
    <message>
        <source>Objetos bloqueados (%1): quedan desbloqueados</source>
        <translation>Objetos bloqueados (%1): ficam desbloqueados</translation>
    </message>
    <message>
        <source>Reglas y otros instrumentos (%1): no se han importado</source>
        <translation>Réguas e outros instrumentos (%1): não foram importados</translation>
    </message>
    <message>
        <source>Imágenes de fondo de página (%1): quedan como imágenes normales</source>
        <translation>Imagens de fundo de página (%1): ficam como imagens normais</translation>
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
        <translation>Linha traço-ponto</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Linha tracejada</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Linha pontilhada</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Linha contínua</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Mais cores</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Color de Pincel</source>
        <translation>Cor da caneta</translation>
    </message>
    <message>
        <source>Color de Fondo</source>
        <translation>Cor de fundo</translation>
    </message>
    <message>
        <source>Estilo de línea</source>
        <translation>Estilo da linha</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Espessura da linha</translation>
    </message>
    <message>
        <source>Transparencia de línea</source>
        <translation>Transparência da linha</translation>
    </message>
</context>
<context>
    <name>WidgetEraserSelector</name>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Limpar página</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Borracha</translation>
    </message>
    <message>
        <source>Borrador de objectos</source>
        <translation>Borracha de objetos</translation>
    </message>
</context>
<context>
    <name>WidgetMMISelector</name>
    <message>
        <source>Imágen</source>
        <translation>Imagem</translation>
    </message>
    <message>
        <source>Pdf</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Abrir vídeo</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Áudio</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Tabla</source>
        <translation>Tabela</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
</context>
<context>
    <name>WidgetMenuSelector</name>
    <message>
        <source>Nuevo Archivo</source>
        <translation>Novo arquivo</translation>
    </message>
    <message>
        <source>Abrir/Importar Archivo</source>
        <translation>Abrir/Importar</translation>
    </message>
    <message>
        <source>Guardar Archivo</source>
        <translation>Salvar arquivo</translation>
    </message>
    <message>
        <source>Guardar Archivo Como</source>
        <translation>Salvar como</translation>
    </message>
    <message>
        <source>Exportar Archivo</source>
        <translation>Exportar arquivo</translation>
    </message>
    <message>
        <source>Idioma</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Preferências</translation>
    </message>
    <message>
        <source>Multiusuario</source>
        <translation>Multiusuário</translation>
    </message>
    <message>
        <source>Cambiar interfaz</source>
        <translation>Mudar interface</translation>
    </message>
    <message>
        <source>Versión: 0.24 BETA</source>
        <translation>Versão: 0.24 BETA</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>&lt; Atrás</source>
        <translation>&lt; Voltar</translation>
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
        <translation>Inglês</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Espanhol</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Russo</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Português</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Francês</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Alemão</translation>
    </message>
    <message>
        <source>Estandar</source>
        <translation>Padrão</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Infantil</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Clássica</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
</context>
<context>
    <name>WidgetPageSelector</name>
    <message>
        <source>Ampliar página</source>
        <translation>Ampliar</translation>
    </message>
    <message>
        <source>Disminuir página</source>
        <translation>Reduzir</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Mover página</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Posição inicial</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Página branca</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Página de imagem</translation>
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
        <translation>Limpar página</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Excluir página</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Mais cores</translation>
    </message>
</context>
<context>
    <name>WidgetPenSelector</name>
    <message>
        <source>Lápiz</source>
        <translation>Lápis</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Marca-texto</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Caneta inteligente</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Caneta-tinteiro</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Linha contínua</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Linha pontilhada</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Linha tracejada</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Linha traço-ponto</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Espessura da linha</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Mais cores</translation>
    </message>
</context>
<context>
    <name>WidgetShapeSelector</name>
    <message>
        <source>Línea</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>Triángulo equilátero</source>
        <translation>Triângulo equilátero</translation>
    </message>
    <message>
        <source>Triángulo rectángulo</source>
        <translation>Triângulo retângulo</translation>
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
        <translation>Quadrado</translation>
    </message>
    <message>
        <source>Rectángulo</source>
        <translation>Retângulo</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Retângulo arredondado</translation>
    </message>
    <message>
        <source>Paralelogramo</source>
        <translation>Paralelogramo</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Losango</translation>
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
        <translation>Seta</translation>
    </message>
    <message>
        <source>Doble flecha</source>
        <translation>Seta dupla</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Estrela</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Cubo</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Cone</translation>
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
        <translation>Preenchimento</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Linha contínua</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Linha pontilhada</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Linha tracejada</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Linha traço-ponto</translation>
    </message>
    <message>
        <source>Fondo Solido</source>
        <translation>Sólido</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Cor de preenchimento</translation>
    </message>
    <message>
        <source>Fondo Imagen</source>
        <translation>Imagem</translation>
    </message>
    <message>
        <source>Fondo Trama</source>
        <translation>Textura</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Espessura da linha</translation>
    </message>
    <message>
        <source>Borde</source>
        <translation>Borda</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Cor da borda</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Mais cores</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagem</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Arquivos de imagem (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Fondo Gradiente</source>
        <translation>Gradiente</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Atenção</translation>
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
        <translation>Holofote</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Calculadora</translation>
    </message>
    <message>
        <source>Capturadora</source>
        <translation>Captura de tela</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Lupa</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Régua</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Esquadro</translation>
    </message>
    <message>
        <source>Compás</source>
        <translation>Compasso</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Transferidor</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Relógio</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Compartilhar tela</translation>
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
        <translation>Atividades interativas</translation>
    </message>
    <message>
        <source>Grabar acción</source>
        <translation>Iniciar gravação</translation>
    </message>
    <message>
        <source>Reproducir acción</source>
        <translation>Reproduzir gravação</translation>
    </message>
    <message>
        <source>Pausar acción</source>
        <translation>Pausar gravação</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulário</translation>
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
        <translation>Não há mais espaço livre no disco.</translation>
    </message>
    <message>
        <source>No tiene permiso para escribir en esa carpeta.</source>
        <translation>Você não tem permissão para gravar nessa pasta.</translation>
    </message>
    <message>
        <source>El disco o la carpeta es de solo lectura.</source>
        <translation>O disco ou a pasta é somente leitura.</translation>
    </message>
</context>
</TS>
