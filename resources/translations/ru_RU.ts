<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="es_ES">
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
        <translation>Стереть</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Сбросить всё</translation>
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
        <translation>Калькулятор</translation>
    </message>
</context>
<context>
    <name>DClock</name>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Clock Mode</source>
        <translation>Режим часов</translation>
    </message>
    <message>
        <source>Timer Mode</source>
        <translation>Секундомер</translation>
    </message>
    <message>
        <source>Countdown Mode</source>
        <translation>Обратный отсчёт</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Увеличить</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Уменьшить</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Прозрачный</translation>
    </message>
    <message>
        <source>Translucent</source>
        <translation>Полупрозрачный</translation>
    </message>
    <message>
        <source>Opaque</source>
        <translation>Непрозрачный</translation>
    </message>
    <message>
        <source>Display LCD</source>
        <translation>ЖК-дисплей</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Скрыть</translation>
    </message>
</context>
<context>
    <name>DCompass</name>
    <message>
        <source>Semicircunferencia</source>
        <translation>Полуокружность</translation>
    </message>
    <message>
        <source>Circunferencia</source>
        <translation>Окружность</translation>
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
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>DMainUi</name>
    <message>
        <source>Veltorina %1

Pizarra digital interactiva para el aula.
Escrita y mantenida por el equipo de desarrollo de Veltorina.</source>
        <translation>Veltorina %1

Интерактивная доска для класса.
Разработка и сопровождение: команда разработчиков Veltorina.</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Выделение</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Рабочий стол</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Menú</source>
        <translation>Меню</translation>
    </message>
    <message>
        <source>Páginas</source>
        <translation>Страницы</translation>
    </message>
    <message>
        <source>Pinceles</source>
        <translation>Перья</translation>
    </message>
    <message>
        <source>Figuras</source>
        <translation>Фигуры</translation>
    </message>
    <message>
        <source>Borradores</source>
        <translation>Ластики</translation>
    </message>
    <message>
        <source>Objectos multimedia</source>
        <translation>Мультимедиа</translation>
    </message>
    <message>
        <source>Acciones de página</source>
        <translation>Действия со страницей</translation>
    </message>
    <message>
        <source>Herramientas</source>
        <translation>Инструменты</translation>
    </message>
    <message>
        <source>Recursos</source>
        <translation>Ресурсы</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Белая страница</translation>
    </message>
    <message>
        <source>Página Transparente</source>
        <translation>Прозрачная страница</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Страница со снимком экрана</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Страница с изображением</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Очистить страницу</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Удалить страницу</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Карандаш</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Маркер</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Перьевая ручка</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Умное перо</translation>
    </message>
    <message>
        <source>Borrador de objeto</source>
        <translation>Ластик объектов</translation>
    </message>
    <message>
        <source>Borrador grande</source>
        <translation>Большой ластик</translation>
    </message>
    <message>
        <source>Borrador mediano</source>
        <translation>Средний ластик</translation>
    </message>
    <message>
        <source>Borrador pequeño</source>
        <translation>Маленький ластик</translation>
    </message>
    <message>
        <source>Línea</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Triángulo rectangulo</source>
        <translation>Прямоугольный треугольник</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>Эллипс</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Пятиугольник</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Шестиугольник</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Стрелка</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Куб</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Конус</translation>
    </message>
    <message>
        <source>Triángulo</source>
        <translation>Треугольник</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Квадрат</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Круг</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Звезда</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Ромб</translation>
    </message>
    <message>
        <source>Doble Flecha</source>
        <translation>Двойная стрелка</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Цилиндр</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Скруглённый прямоугольник</translation>
    </message>
    <message>
        <source>Imagen</source>
        <translation>Изображение</translation>
    </message>
    <message>
        <source>Vídeo</source>
        <translation>Видео</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Звук</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Ampliar página</source>
        <translation>Увеличить</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Перемещение страницы</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Предыдущая страница</translation>
    </message>
    <message>
        <source>Reducir página</source>
        <translation>Уменьшить</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Исходный вид</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Следующая страница</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Прожектор</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Лупа</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Линейка</translation>
    </message>
    <message>
        <source>Compas</source>
        <translation>Циркуль</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Показ экрана</translation>
    </message>
    <message>
        <source>Cortina</source>
        <translation>Шторка</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Часы</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Угольник</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Транспортир</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Калькулятор</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Цвет</translation>
    </message>
    <message>
        <source>Transparencia</source>
        <translation>Прозрачность</translation>
    </message>
    <message>
        <source>Grosor</source>
        <translation>Толщина</translation>
    </message>
    <message>
        <source>Estilo</source>
        <translation>Стиль</translation>
    </message>
    <message>
        <source>Ocultar barra</source>
        <translation>Скрыть панель</translation>
    </message>
    <message>
        <source>Objetos multimedia</source>
        <translation>Мультимедиа</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Estilográfica</source>
        <translation>Перьевая ручка</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Ластик</translation>
    </message>
    <message>
        <source>Salir modo multiusuario</source>
        <translation>Выйти из многопользовательского режима</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>DPage</name>
    <message>
        <source>Importando «%1»…</source>
        <translation>Импорт «%1»…</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Abrir Imagen</source>
        <translation>Открыть изображение</translation>
    </message>
    <message>
        <source>Abrir Documento</source>
        <translation>Открыть документ</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Открыть видео</translation>
    </message>
    <message>
        <source>Error al insertar el vídeo</source>
        <translation>Не удалось вставить видео</translation>
    </message>
    <message>
        <source>Abrir Audio</source>
        <translation>Открыть аудио</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Ошибка при сохранении записи</translation>
    </message>
    <message>
        <source>No se ha encontrado el programa de actividades</source>
        <translation>Программа заданий не найдена</translation>
    </message>
    <message>
        <source>Error al iniciar el programa de actividades</source>
        <translation>Ошибка при запуске программы заданий</translation>
    </message>
    <message>
        <source>Error al abrir el navegador</source>
        <translation>Ошибка при открытии браузера</translation>
    </message>
    <message>
        <source>Editar enlace</source>
        <translation>Изменить ссылку</translation>
    </message>
    <message>
        <source>Inserte un enlace web</source>
        <translation>Введите веб-ссылку</translation>
    </message>
    <message>
        <source>Inserte número de página a enlazar</source>
        <translation>Введите номер страницы для ссылки</translation>
    </message>
    <message>
        <source>Desea limpiar la página</source>
        <translation>Очистить эту страницу?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Open Audio</source>
        <translation>Открыть аудио</translation>
    </message>
    <message>
        <source>Error al convertir a texto</source>
        <translation>Ошибка при преобразовании в текст</translation>
    </message>
</context>
<context>
    <name>DPagesList</name>
    <message>
        <source>Open Image</source>
        <translation>Открыть изображение</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Desea restaurar el archivo no guardado</source>
        <translation>Восстановить несохранённый файл?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Error al guardar archivo</source>
        <translation>Ошибка при сохранении файла</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Desea Guardar el Archivo</source>
        <translation>Сохранить файл?</translation>
    </message>
    <message>
        <source>Desea guardar el archivo</source>
        <translation>Сохранить файл?</translation>
    </message>
    <message>
        <source>Desea exportar el archivo</source>
        <translation>Экспортировать файл?</translation>
    </message>
    <message>
        <source>Guardar archivo</source>
        <translation>Сохранить файл</translation>
    </message>
    <message>
        <source>Exportar archivo</source>
        <translation>Экспорт файла</translation>
    </message>
    <message>
        <source>Abrir Archivo</source>
        <translation>Открыть файл</translation>
    </message>
    <message>
        <source>Error al abrir archivo</source>
        <translation>Ошибка при открытии файла</translation>
    </message>
    <message>
        <source>Error al exportar archivo</source>
        <translation>Ошибка при экспорте файла</translation>
    </message>
    <message>
        <source>El documento está dañado y no se ha podido abrir entero.</source>
        <translation>Документ повреждён и не может быть открыт полностью.</translation>
    </message>
    <message>
        <source>El documento se ha guardado sin estos archivos, que no se encuentran:</source>
        <translation>Документ сохранён без этих файлов, которые не найдены:</translation>
    </message>
    <message>
        <source>Guardando el documento…</source>
        <translation>Сохранение документа…</translation>
    </message>
    <message>
        <source>Abriendo el documento…</source>
        <translation>Открытие документа…</translation>
    </message>
    <message>
        <source>Exportando el documento…</source>
        <translation>Экспорт документа…</translation>
    </message>
    <message>
        <source>El archivo %1 ya existe.</source>
        <translation>Файл %1 уже существует.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlo?</source>
        <translation>Заменить его?</translation>
    </message>
    <message>
        <source>Los archivos de la carpeta %1 ya existen.</source>
        <translation>Файлы в папке %1 уже существуют.</translation>
    </message>
    <message>
        <source>¿Desea reemplazarlos?</source>
        <translation>Заменить их?</translation>
    </message>
    <message>
        <source>La copia automática del documento no se ha podido guardar: si el programa se cierra de forma inesperada, se perderán los últimos cambios.</source>
        <translation>Не удалось сохранить автоматическую копию документа: если программа неожиданно закроется, последние изменения будут потеряны.</translation>
    </message>
    <message>
        <source>La lección se ha importado con estos cambios:</source>
        <translation>Урок импортирован со следующими изменениями:</translation>
    </message>
    <message>
        <source>La lección se ha abierto con estos cambios:</source>
        <translation>Урок открыт со следующими изменениями:</translation>
    </message>
    <message>
        <source>… y %1 más.</source>
        <translation>… и ещё %1.</translation>
    </message>
</context>
<context>
    <name>DProtractor</name>
    <message>
        <source>Arco</source>
        <translation>Дуга</translation>
    </message>
    <message>
        <source>Porción</source>
        <translation>Сектор</translation>
    </message>
    <message>
        <source>Cuerda</source>
        <translation>Хорда</translation>
    </message>
    <message>
        <source>Ángulo</source>
        <translation>Угол</translation>
    </message>
    <message>
        <source>Triangulo</source>
        <translation>Треугольник</translation>
    </message>
</context>
<context>
    <name>DResources</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>DRichTextEditor</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
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
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Editar Texto</source>
        <translation>Редактировать текст</translation>
    </message>
</context>
<context>
    <name>DScreenRecord</name>
    <message>
        <source>Ya hay una grabación en curso</source>
        <translation>Запись уже идёт</translation>
    </message>
    <message>
        <source>Error al iniciar la grabación</source>
        <translation>Ошибка при запуске записи</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Сохранить файл</translation>
    </message>
    <message>
        <source>Error al guardar la grabación</source>
        <translation>Ошибка при сохранении записи</translation>
    </message>
    <message>
        <source>Error al grabar la pantalla</source>
        <translation>Ошибка при записи экрана</translation>
    </message>
    <message>
        <source>Convirtiendo la grabación…</source>
        <translation>Преобразование записи…</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>DSetting</name>
    <message>
        <source>Estandar</source>
        <translation>Обычный</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Детский</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Классический</translation>
    </message>
    <message>
        <source>Interfaz por defecto</source>
        <translation>Вид интерфейса</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Испанский</translation>
    </message>
    <message>
        <source>Inglés</source>
        <translation>Английский</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Португальский</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Французский</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Немецкий</translation>
    </message>
    <message>
        <source>Idioma por defecto</source>
        <translation>Язык по умолчанию</translation>
    </message>
    <message>
        <source>Autoguardado (min)</source>
        <translation>Автосохранение (мин)</translation>
    </message>
    <message>
        <source>Color de página por defecto</source>
        <translation>Цвет страницы по умолчанию</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Restaurar</source>
        <translation>Сбросить</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Restaurar Valores por Defecto</source>
        <translation>Восстановить значения по умолчанию?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
</context>
<context>
    <name>DShareScreen</name>
    <message>
        <source>Compartir con los demás</source>
        <translation>Поделиться с другими</translation>
    </message>
    <message>
        <source>Compartir pantalla con los demás</source>
        <translation>Показать экран другим</translation>
    </message>
    <message>
        <source>Conectando...</source>
        <translation>Подключение...</translation>
    </message>
    <message>
        <source>Escanea el siguiente codigo QR</source>
        <translation>Отсканируйте этот QR-код</translation>
    </message>
    <message>
        <source>No se puede abrir el puerto %1</source>
        <translation>Не удаётся открыть порт %1</translation>
    </message>
    <message>
        <source>Puede que otro programa lo esté usando</source>
        <translation>Возможно, его использует другая программа</translation>
    </message>
    <message>
        <source>Sin conexión</source>
        <translation>Нет подключения</translation>
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
        <translation>Прозрачная страница</translation>
    </message>
    <message>
        <source>Seleccionar</source>
        <translation>Выделение</translation>
    </message>
    <message>
        <source>Lápiz</source>
        <translation>Карандаш</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Маркер</translation>
    </message>
    <message>
        <source>Borrador de objetos</source>
        <translation>Ластик объектов</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Página anterior</source>
        <translation>Предыдущая страница</translation>
    </message>
    <message>
        <source>Página posterior</source>
        <translation>Следующая страница</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Очистить страницу</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Rehacer</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Guardar</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Выход</translation>
    </message>
</context>
<context>
    <name>DTableDlg</name>
    <message>
        <source>Dialog</source>
        <translation>Диалог</translation>
    </message>
    <message>
        <source>Filas</source>
        <translation>Строки</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;ОК</translation>
    </message>
    <message>
        <source>Columnas</source>
        <translation>Столбцы</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Отмена</translation>
    </message>
</context>
<context>
    <name>DView</name>
    <message>
        <source>Borrar</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Bloquear</source>
        <translation>Закрепить</translation>
    </message>
    <message>
        <source>Capas</source>
        <translation>Слои</translation>
    </message>
    <message>
        <source>Traer al frente</source>
        <translation>На передний план</translation>
    </message>
    <message>
        <source>Llevar al fondo</source>
        <translation>На задний план</translation>
    </message>
    <message>
        <source>Clonar</source>
        <translation>Клонировать</translation>
    </message>
    <message>
        <source>Copiar</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>Grupo</source>
        <translation>Группа</translation>
    </message>
    <message>
        <source>Agrupar</source>
        <translation>Сгруппировать</translation>
    </message>
    <message>
        <source>Desagrupar</source>
        <translation>Разгруппировать</translation>
    </message>
    <message>
        <source>Rotar</source>
        <translation>Повернуть</translation>
    </message>
    <message>
        <source>Rotar 45º</source>
        <translation>Повернуть на 45°</translation>
    </message>
    <message>
        <source>Rotar 90º</source>
        <translation>Повернуть на 90°</translation>
    </message>
    <message>
        <source>Rotar 180º</source>
        <translation>Повернуть на 180°</translation>
    </message>
    <message>
        <source>Rotar 270º</source>
        <translation>Повернуть на 270°</translation>
    </message>
    <message>
        <source>Enlazar</source>
        <translation>Ссылка</translation>
    </message>
    <message>
        <source>Enlace Web</source>
        <translation>Веб-ссылка</translation>
    </message>
    <message>
        <source>Enlace a una página</source>
        <translation>Ссылка на страницу</translation>
    </message>
    <message>
        <source>Enlace a un fichero</source>
        <translation>Ссылка на файл</translation>
    </message>
    <message>
        <source>Enlace de video</source>
        <translation>Ссылка на видео</translation>
    </message>
    <message>
        <source>Enlace de audio</source>
        <translation>Ссылка на аудио</translation>
    </message>
    <message>
        <source>Colorear</source>
        <translation>Раскрасить</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Цвет заливки</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Цвет контура</translation>
    </message>
    <message>
        <source>Convertir en texto offline</source>
        <translation>Преобразовать в текст (офлайн)</translation>
    </message>
    <message>
        <source>Convertir en texto online</source>
        <translation>Преобразовать в текст (онлайн)</translation>
    </message>
</context>
<context>
    <name>LessonPictures</name>
    <message>
        <source>Página %1: %2</source>
        <translation>Страница %1: %2</translation>
    </message>
    <message>
        <source>La lección la conserva tal como venía, y la guarda con ella.</source>
        <translation>Урок сохраняет его таким, каким оно пришло, и сохраняет вместе с собой.</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Atención</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Desea eliminar la página</source>
        <translation>Удалить эту страницу?</translation>
    </message>
    <message>
        <source>Si</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Debe reiniciar Veltorina para que los cambios surtan efecto</source>
        <translation>Перезапустите Veltorina, чтобы изменения вступили в силу</translation>
    </message>
    <message>
        <source>Escritorio</source>
        <translation>Рабочий стол</translation>
    </message>
    <message>
        <source>No se encuentra el archivo de ayuda</source>
        <translation>Файл справки не найден</translation>
    </message>
    <message>
        <source>No se puede abrir la ayuda</source>
        <translation>Не удаётся открыть справку</translation>
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
        <translation>Не удалось импортировать «%1»: %2</translation>
    </message>
    <message>
        <source>no se puede crear una carpeta temporal donde convertir sus páginas.</source>
        <translation>не удаётся создать временную папку для преобразования его страниц.</translation>
    </message>
    <message>
        <source>falta el programa «%1», con el que se leen sus páginas (paquete poppler-utils).</source>
        <translation>нет программы «%1», которая читает его страницы (пакет poppler-utils).</translation>
    </message>
    <message>
        <source>leer la lista de sus páginas ha tardado más de %1 segundos.</source>
        <translation>чтение списка его страниц заняло больше %1 с.</translation>
    </message>
    <message>
        <source>no se puede leer como documento PDF: está dañado, protegido con contraseña o no es un PDF.</source>
        <translation>его нельзя прочитать как документ PDF: он повреждён, защищён паролем или не является PDF.</translation>
    </message>
    <message>
        <source>%1, página %2</source>
        <translation>%1, страница %2</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla.</source>
        <translation>Страница %1: программе преобразования не удалось её преобразовать.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha podido convertirla («%2»).</source>
        <translation>Страница %1: программе преобразования не удалось её преобразовать («%2»).</translation>
    </message>
    <message>
        <source>Página %1: convertirla ha tardado más de %2 segundos y se ha dejado.</source>
        <translation>Страница %1: преобразование заняло больше %2 с, страница пропущена.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión se ha detenido por un fallo al convertirla.</source>
        <translation>Страница %1: программа преобразования аварийно завершилась при её преобразовании.</translation>
    </message>
    <message>
        <source>Página %1: el programa de conversión no ha dado ninguna imagen.</source>
        <translation>Страница %1: программа преобразования не выдала изображения.</translation>
    </message>
    <message>
        <source>la lección tendría más objetos de los que admite la pizarra (%1).</source>
        <translation>в уроке было бы больше объектов, чем принимает доска (%1).</translation>
    </message>
    <message>
        <source>las %1 páginas anteriores tardaron cada una más de %2 segundos en convertirse.</source>
        <translation>каждая из %1 предыдущих страниц преобразовывалась дольше %2 с.</translation>
    </message>
    <message>
        <source>La página %1 no se ha importado: %2</source>
        <translation>Страница %1 не импортирована: %2</translation>
    </message>
    <message>
        <source>Las páginas %1 a %2 no se han importado: %3</source>
        <translation>Страницы с %1 по %2 не импортированы: %3</translation>
    </message>
    <message>
        <source>Se han importado %1 de las %2 páginas de «%3».</source>
        <translation>Импортировано страниц: %1 из %2, документ «%3».</translation>
    </message>
    <message>
        <source>Avisos sobre otras páginas que no se muestran aquí: %1.</source>
        <translation>Предупреждения о других страницах, не показанные здесь: %1.</translation>
    </message>
</context>
<context>
    <name>PictureReading</name>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que la pizarra puede mover, y se muestra quieta.</source>
        <translation>Анимация «%1» размером %2 x %3 пикселей — больше, чем доска может анимировать, поэтому она показана неподвижной.</translation>
    </message>
    <message>
        <source>La animación «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se muestra quieta y reducida a %4 x %5.</source>
        <translation>Анимация «%1» размером %2 x %3 пикселей — больше, чем принимает доска, поэтому она показана неподвижной и уменьшенной до %4 x %5.</translation>
    </message>
    <message>
        <source>La imagen «%1» mide %2 x %3 píxeles, más de lo que admite la pizarra, y se ha tomado reducida a %4 x %5.</source>
        <translation>Изображение «%1» размером %2 x %3 пикселей — больше, чем принимает доска, поэтому оно уменьшено до %4 x %5.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y la pizarra admite como mucho %4 píxeles por lado y %5 millones de píxeles.</source>
        <translation>Изображение «%1» не использовано: его размер %2 x %3 пикселей, а доска принимает не более %4 пикселей по стороне и %5 миллионов пикселей.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, y leerla ocuparía más de %4 MB de memoria.</source>
        <translation>Изображение «%1» не использовано: его размер %2 x %3 пикселей, и для чтения потребовалось бы более %4 МБ памяти.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: no se puede saber cuánta memoria ocuparía sin leerla entera.</source>
        <translation>Изображение «%1» не использовано: нельзя узнать, сколько памяти оно займёт, не прочитав его целиком.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla necesitaba más memoria de la que la pizarra le permite.</source>
        <translation>Изображение «%1» не использовано: для его чтения нужно больше памяти, чем доска ему позволяет.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: leerla llevaba demasiado tiempo.</source>
        <translation>Изображение «%1» не использовано: его чтение заняло слишком много времени.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: su lector ha fallado al leerla.</source>
        <translation>Изображение «%1» не использовано: программа чтения дала сбой при его чтении.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.</source>
        <translation>Не удалось прочитать изображение «%1»: его нет, или это не файл, который можно открыть.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.</source>
        <translation>Не удалось прочитать изображение «%1»: это не изображение ни в одном из форматов, которые умеет читать доска.</translation>
    </message>
    <message>
        <source>No se ha podido leer la imagen «%1»: está dañada.</source>
        <translation>Не удалось прочитать изображение «%1»: оно повреждено.</translation>
    </message>
    <message>
        <source>La animación «%1» tiene %2 fotogramas, más de los que la pizarra puede mover, y se muestra quieta.</source>
        <translation>Анимация «%1» содержит %2 кадров — больше, чем доска может анимировать, поэтому она показана неподвижной.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y los demás datos que guarda ocuparían más de %4 MB de memoria al leerla.</source>
        <translation>Изображение «%1» не использовано: его размер %2 x %3 пикселей, но для чтения текста и других данных, которые оно содержит, потребовалось бы более %4 МБ памяти.</translation>
    </message>
    <message>
        <source>falta, o no se puede abrir</source>
        <translation>он отсутствует или не открывается</translation>
    </message>
    <message>
        <source>está fuera de la carpeta de la imagen</source>
        <translation>он находится вне папки изображения</translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo</source>
        <translation>это устройство, а не файл</translation>
    </message>
    <message>
        <source>es una tubería, no un archivo</source>
        <translation>это канал, а не файл</translation>
    </message>
    <message>
        <source>está en una carpeta de tipos de letra</source>
        <translation>он находится в папке шрифтов</translation>
    </message>
    <message>
        <source>está en una carpeta del sistema (/proc, /sys o /dev)</source>
        <translation>он находится в системной папке (/proc, /sys или /dev)</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin «%2», que enlaza: %3.</source>
        <translation>Изображение «%1» показано без «%2», на который оно ссылается: %3.</translation>
    </message>
    <message>
        <source>La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.</source>
        <translation>Изображение «%1» показано без изображений, на которые оно ссылается (%2): %3.</translation>
    </message>
    <message>
        <source>No se ha usado la imagen «%1»: se enlaza a sí misma, directamente o a través de otra imagen, y dibujarla no terminaría nunca.</source>
        <translation>Изображение «%1» не использовано: оно ссылается само на себя, напрямую или через другое изображение, и его рисование никогда бы не закончилось.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>FullScreen</source>
        <translation>Во весь экран</translation>
    </message>
    <message>
        <source>Service not available</source>
        <translation>Служба недоступна</translation>
    </message>
    <message>
        <source>The QMediaPlayer object does not have a valid service.
Please check the media service plugins are installed.</source>
        <translation>У объекта QMediaPlayer нет действующей службы.
Проверьте, установлены ли модули мультимедийной службы.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Загрузка...</translation>
    </message>
    <message>
        <source>Media Stalled</source>
        <translation>Воспроизведение приостановлено</translation>
    </message>
    <message>
        <source>Buffering %4%</source>
        <translation>Буферизация %4%</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Яркость</translation>
    </message>
    <message>
        <source>Contrast</source>
        <translation>Контраст</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>Оттенок</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>Насыщенность</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Color Options</source>
        <translation>Настройки цвета</translation>
    </message>
    <message>
        <source>No se puede reproducir este archivo</source>
        <translation>Невозможно воспроизвести этот файл</translation>
    </message>
</context>
<context>
    <name>UbzReader</name>
    <message>
        <source>página %1</source>
        <translation>страница %1</translation>
    </message>
    <message>
        <source>páginas %1</source>
        <translation>страницы %1</translation>
    </message>
    <message>
        <source>Fondos de página en PDF (%1): no se han importado</source>
        <translation>Фоны страниц из PDF (%1): не импортированы</translation>
    </message>
    <message>
        <source>Miniaplicaciones (%1): no se han importado</source>
        <translation>Виджеты (%1): не импортированы</translation>
    </message>
    <message>
        <source>Papel cuadriculado o pautado (%1): no se ha importado</source>
        <translation>Бумага в клетку или в линейку (%1): не импортирована</translation>
    </message>
    <message>
        <source>Grupos de objetos (%1): sus objetos quedan sueltos</source>
        <translation>Группы объектов (%1): их объекты теперь по отдельности</translation>
    </message>
    <message>
        <source>Objetos bloqueados (%1): quedan desbloqueados</source>
        <translation>Заблокированные объекты (%1): теперь разблокированы</translation>
    </message>
    <message>
        <source>Reglas y otros instrumentos (%1): no se han importado</source>
        <translation>Линейки и другие инструменты (%1): не импортированы</translation>
    </message>
    <message>
        <source>Imágenes de fondo de página (%1): quedan como imágenes normales</source>
        <translation>Фоновые изображения страниц (%1): теперь обычные изображения</translation>
    </message>
</context>
<context>
    <name>VideoWidget</name>
    <message>
        <source>VideoWidget</source>
        <translation>Видео</translation>
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
        <translation>Штрихпунктирная линия</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Штриховая линия</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Пунктирная линия</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Сплошная линия</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Другие цвета</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Color de Pincel</source>
        <translation>Цвет пера</translation>
    </message>
    <message>
        <source>Color de Fondo</source>
        <translation>Цвет фона</translation>
    </message>
    <message>
        <source>Estilo de línea</source>
        <translation>Стиль линии</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Толщина линии</translation>
    </message>
    <message>
        <source>Transparencia de línea</source>
        <translation>Прозрачность линии</translation>
    </message>
</context>
<context>
    <name>WidgetEraserSelector</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Очистить страницу</translation>
    </message>
    <message>
        <source>Borrador</source>
        <translation>Ластик</translation>
    </message>
    <message>
        <source>Borrador de objectos</source>
        <translation>Ластик объектов</translation>
    </message>
</context>
<context>
    <name>WidgetMMISelector</name>
    <message>
        <source>Imágen</source>
        <translation>Изображение</translation>
    </message>
    <message>
        <source>Pdf</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Abrir Vídeo</source>
        <translation>Открыть видео</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Аудио</translation>
    </message>
    <message>
        <source>Texto</source>
        <translation>Текст</translation>
    </message>
    <message>
        <source>Tabla</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>WidgetMenuSelector</name>
    <message>
        <source>Nuevo Archivo</source>
        <translation>Новый файл</translation>
    </message>
    <message>
        <source>Abrir/Importar Archivo</source>
        <translation>Открыть/импорт</translation>
    </message>
    <message>
        <source>Guardar Archivo</source>
        <translation>Сохранить файл</translation>
    </message>
    <message>
        <source>Guardar Archivo Como</source>
        <translation>Сохранить как</translation>
    </message>
    <message>
        <source>Exportar Archivo</source>
        <translation>Экспорт файла</translation>
    </message>
    <message>
        <source>Idioma</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>Preferencias</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Multiusuario</source>
        <translation>Совместный режим</translation>
    </message>
    <message>
        <source>Cambiar interfaz</source>
        <translation>Сменить интерфейс</translation>
    </message>
    <message>
        <source>Versión: 0.24 BETA</source>
        <translation>Версия: 0.24 BETA</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>&lt; Atrás</source>
        <translation>&lt; Назад</translation>
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
        <translation>Английский</translation>
    </message>
    <message>
        <source>Español</source>
        <translation>Испанский</translation>
    </message>
    <message>
        <source>Ruso</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Portugués</source>
        <translation>Португальский</translation>
    </message>
    <message>
        <source>Francés</source>
        <translation>Французский</translation>
    </message>
    <message>
        <source>Alemán</source>
        <translation>Немецкий</translation>
    </message>
    <message>
        <source>Estandar</source>
        <translation>Обычный</translation>
    </message>
    <message>
        <source>Infantil</source>
        <translation>Детский</translation>
    </message>
    <message>
        <source>Clásica</source>
        <translation>Классический</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>WidgetPageSelector</name>
    <message>
        <source>Ampliar página</source>
        <translation>Увеличить</translation>
    </message>
    <message>
        <source>Disminuir página</source>
        <translation>Уменьшить</translation>
    </message>
    <message>
        <source>Mover página</source>
        <translation>Перемещение страницы</translation>
    </message>
    <message>
        <source>Posición inicial</source>
        <translation>Исходный вид</translation>
    </message>
    <message>
        <source>Página blanca</source>
        <translation>Белая страница</translation>
    </message>
    <message>
        <source>Página de imagen</source>
        <translation>Страница с изображением</translation>
    </message>
    <message>
        <source>Página de captura</source>
        <translation>Страница со снимком экрана</translation>
    </message>
    <message>
        <source>Página transparente</source>
        <translation>Прозрачная страница</translation>
    </message>
    <message>
        <source>Limpiar página</source>
        <translation>Очистить страницу</translation>
    </message>
    <message>
        <source>Eliminar página</source>
        <translation>Удалить страницу</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Другие цвета</translation>
    </message>
</context>
<context>
    <name>WidgetPenSelector</name>
    <message>
        <source>Lápiz</source>
        <translation>Карандаш</translation>
    </message>
    <message>
        <source>Subrayador</source>
        <translation>Маркер</translation>
    </message>
    <message>
        <source>Lápiz Inteligente</source>
        <translation>Умное перо</translation>
    </message>
    <message>
        <source>Estilográfico</source>
        <translation>Перьевая ручка</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Сплошная линия</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Пунктирная линия</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Штриховая линия</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Штрихпунктирная линия</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Толщина линии</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Другие цвета</translation>
    </message>
</context>
<context>
    <name>WidgetShapeSelector</name>
    <message>
        <source>Línea</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Triángulo equilátero</source>
        <translation>Равносторонний треугольник</translation>
    </message>
    <message>
        <source>Triángulo rectángulo</source>
        <translation>Прямоугольный треугольник</translation>
    </message>
    <message>
        <source>Elipse</source>
        <translation>Эллипс</translation>
    </message>
    <message>
        <source>Círculo</source>
        <translation>Круг</translation>
    </message>
    <message>
        <source>Cuadrado</source>
        <translation>Квадрат</translation>
    </message>
    <message>
        <source>Rectángulo</source>
        <translation>Прямоугольник</translation>
    </message>
    <message>
        <source>Rectángulo redondeado</source>
        <translation>Скруглённый прямоугольник</translation>
    </message>
    <message>
        <source>Paralelogramo</source>
        <translation>Параллелограмм</translation>
    </message>
    <message>
        <source>Rombo</source>
        <translation>Ромб</translation>
    </message>
    <message>
        <source>Pentágono</source>
        <translation>Пятиугольник</translation>
    </message>
    <message>
        <source>Hexágono</source>
        <translation>Шестиугольник</translation>
    </message>
    <message>
        <source>Flecha</source>
        <translation>Стрелка</translation>
    </message>
    <message>
        <source>Doble flecha</source>
        <translation>Двойная стрелка</translation>
    </message>
    <message>
        <source>Estrella</source>
        <translation>Звезда</translation>
    </message>
    <message>
        <source>Cubo</source>
        <translation>Куб</translation>
    </message>
    <message>
        <source>Cono</source>
        <translation>Конус</translation>
    </message>
    <message>
        <source>Cilindro</source>
        <translation>Цилиндр</translation>
    </message>
    <message>
        <source>Esfera</source>
        <translation>Сфера</translation>
    </message>
    <message>
        <source>Relleno</source>
        <translation>Заливка</translation>
    </message>
    <message>
        <source>Línea sólida</source>
        <translation>Сплошная линия</translation>
    </message>
    <message>
        <source>Línea punteada</source>
        <translation>Пунктирная линия</translation>
    </message>
    <message>
        <source>Línea rayada</source>
        <translation>Штриховая линия</translation>
    </message>
    <message>
        <source>Línea punteo-rayada</source>
        <translation>Штрихпунктирная линия</translation>
    </message>
    <message>
        <source>Fondo Solido</source>
        <translation>Сплошная</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Цвет заливки</translation>
    </message>
    <message>
        <source>Fondo Imagen</source>
        <translation>Картинка</translation>
    </message>
    <message>
        <source>Fondo Trama</source>
        <translation>Узор</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Grosor de línea</source>
        <translation>Толщина линии</translation>
    </message>
    <message>
        <source>Borde</source>
        <translation>Край</translation>
    </message>
    <message>
        <source>Color de borde</source>
        <translation>Цвет контура</translation>
    </message>
    <message>
        <source>Más colores</source>
        <translation>Другие цвета</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Открыть изображение</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Файлы изображений (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Fondo Gradiente</source>
        <translation>Градиент</translation>
    </message>
    <message>
        <source>Atención</source>
        <translation>Внимание</translation>
    </message>
</context>
<context>
    <name>WidgetToolSelector</name>
    <message>
        <source>Cortina</source>
        <translation>Шторка</translation>
    </message>
    <message>
        <source>Foco</source>
        <translation>Прожектор</translation>
    </message>
    <message>
        <source>Calculadora</source>
        <translation>Калькулятор</translation>
    </message>
    <message>
        <source>Capturadora</source>
        <translation>Снимок экрана</translation>
    </message>
    <message>
        <source>Lupa</source>
        <translation>Лупа</translation>
    </message>
    <message>
        <source>Regla</source>
        <translation>Линейка</translation>
    </message>
    <message>
        <source>Escuadra</source>
        <translation>Угольник</translation>
    </message>
    <message>
        <source>Compás</source>
        <translation>Циркуль</translation>
    </message>
    <message>
        <source>Trasportador</source>
        <translation>Транспортир</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Часы</translation>
    </message>
    <message>
        <source>Compartir pantalla</source>
        <translation>Показ экрана</translation>
    </message>
    <message>
        <source>Teclado</source>
        <translation>Клавиатура</translation>
    </message>
    <message>
        <source>Navegador</source>
        <translation>Браузер</translation>
    </message>
    <message>
        <source>Actividades interactivas</source>
        <translation>Интерактивные задания</translation>
    </message>
    <message>
        <source>Grabar acción</source>
        <translation>Начать запись</translation>
    </message>
    <message>
        <source>Reproducir acción</source>
        <translation>Воспроизвести запись</translation>
    </message>
    <message>
        <source>Pausar acción</source>
        <translation>Приостановить запись</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Cancelar</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>No queda espacio libre en el disco.</source>
        <translation>На диске не осталось свободного места.</translation>
    </message>
    <message>
        <source>No tiene permiso para escribir en esa carpeta.</source>
        <translation>У вас нет прав на запись в эту папку.</translation>
    </message>
    <message>
        <source>El disco o la carpeta es de solo lectura.</source>
        <translation>Диск или папка доступны только для чтения.</translation>
    </message>
</context>
</TS>
