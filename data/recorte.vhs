// Vorpane: recorte de periódico.
// Campos: text0 cabecera del periódico, text1 fecha y número, text2 titular,
// text3 entradilla, text4 pie de foto, text5 y text6 las dos columnas del
// artículo, text7 firma del artículo; picture0 la fotografía.
// Página de 130 x 176 mm; el papel de periódico lleva los bordes recortados.

var fPrensa, fTitular;
var ancho, alto, x1, x2, y, mitad;
var papel, tinta, sombra;

ancho = 130.0;
alto = 176.0;
x1 = 9.0;
x2 = ancho - 9.0;
mitad = ancho / 2;

fPrensa = fuente("Times New Roman", "Liberation Serif", "Serif");
fTitular = fuente("Arial Narrow", "Liberation Sans Narrow", fPrensa);

papel = 0xEDE5CF;
tinta = 0x1E1B18;
sombra = 0xD0D0D0;

sheet.sheetsize(ancho, alto);

// Sombra, papel y el corte irregular de las tijeras.
sheet.fillrectangle(4.6, 4.6, ancho - 2.2, alto - 2.2, sombra);
sheet.fillrectangle(3.0, 3.0, ancho - 3.8, alto - 3.8, papel);
recorte(3.0, 3.0, ancho - 3.8, alto - 3.8);

sheet.settextcolour(tinta);
sheet.setlinecolour(tinta);

// Cabecera: nombre del periódico y fecha, entre filetes.
sheet.setfont(fPrensa, 9, sheet.fontbold);
sheet.setfieldtextstyle(sheet.alignleft | sheet.textclipped);
sheet.addfield(x1, 8.0, mitad + 12.0, 12.5, field.text0);
sheet.setfont(fPrensa, 6.5, sheet.fontitalic);
sheet.setfieldtextstyle(sheet.alignright | sheet.textclipped);
sheet.addfield(mitad + 13.0, 8.8, x2, 12.5, field.text1);
sheet.drawline(x1, 13.2, x2, 13.2);
sheet.drawline(x1, 13.7, x2, 13.7);

// Titular y entradilla
sheet.setfont(fTitular, 19, sheet.fontbold);
sheet.setfieldtextstyle(sheet.aligncenter | sheet.textmultiline | sheet.textclipped);
sheet.addfield(x1, 15.3, x2, 31.3, field.text2);
sheet.setfont(fPrensa, 9, sheet.fontitalic);
sheet.setfieldtextstyle(sheet.aligncenter | sheet.textmultiline | sheet.textclipped);
sheet.addfield(x1 + 6.0, 32.6, x2 - 6.0, 41.0, field.text3);
sheet.drawline(mitad - 10.0, 42.0, mitad + 10.0, 42.0);

// Fotografía con su pie
y = 44.5;
sheet.addfield(mitad - 46.5, y, mitad + 46.5, y + 62.0, field.picture0);
sheet.setfont(fPrensa, 6.5, sheet.fontitalic);
sheet.setfieldtextstyle(sheet.aligncenter | sheet.textmultiline | sheet.textclipped);
sheet.addfield(x1, y + 63.0, x2, y + 70.0, field.text4);

// Texto en dos columnas con un filete entre ellas
y = y + 71.0;
sheet.drawline(x1, y, x2, y);
sheet.drawline(mitad, y + 2.0, mitad, alto - 12.5);
sheet.setfont(fPrensa, 8, sheet.fontnormal);
sheet.setfieldtextstyle(sheet.textmultiline | sheet.textclipped);
sheet.addfield(x1, y + 1.5, mitad - 2.0, alto - 12.5, field.text5);
sheet.addfield(mitad + 2.0, y + 1.5, x2, alto - 12.5, field.text6);

sheet.setfont(fPrensa, 6.5, sheet.fontbold);
sheet.setfieldtextstyle(sheet.alignright | sheet.textclipped);
sheet.addfield(x1, alto - 11.8, x2, alto - 8.0, field.text7);

sheet.settextcolour(0x000000);
sheet.setlinecolour(0x000000);

// La primera familia instalada de las tres; si no hay ninguna, el sistema elige.
function fuente(primera, segunda, tercera) {
    var f;
    f = sheet.findvalidfont(primera);
    if (f == "") f = sheet.findvalidfont(segunda);
    if (f == "") f = tercera;
    return f;
}

// Lo que asoma bajo el borde derecho o inferior: la sombra, salvo junto a la esquina.
function fondoBajo(p) {
    if (p < 5.0) return 0xFFFFFF;
    return sombra;
}

// Muescas a lo largo de los cuatro bordes: el papel no se cortó recto.
// Las medidas salen de una sucesión fija, así la hoja no cambia al redibujarla.
function recorte(xa, ya, xb, yb) {
    var p, n, h;
    n = 7;
    for (p = xa; p < xb; p = p + 2.3) {
        n = (n * 37 + 11) % 101;
        h = 0.2 + (n % 9) * 0.12;
        sheet.fillrectangle(p, ya - 0.1, p + 2.4, ya + h, 0xFFFFFF);
        n = (n * 37 + 11) % 101;
        h = 0.2 + (n % 9) * 0.12;
        sheet.fillrectangle(p, yb - h, p + 2.4, yb + 0.1, fondoBajo(p));
    }
    for (p = ya; p < yb; p = p + 2.3) {
        n = (n * 37 + 11) % 101;
        h = 0.2 + (n % 9) * 0.12;
        sheet.fillrectangle(xa - 0.1, p, xa + h, p + 2.4, 0xFFFFFF);
        n = (n * 37 + 11) % 101;
        h = 0.2 + (n % 9) * 0.12;
        sheet.fillrectangle(xb - h, p, xb + 0.1, p + 2.4, fondoBajo(p));
    }
}
