// Vorpane: nota manuscrita con una fotografía sujeta con un clip.
// Campos: text0 la nota, text1 un aviso escrito de través, text2 lo escrito
// en el margen de la foto, text3 la firma; picture0 la fotografía.
// Página de 150 x 100 mm.

var ancho, alto;
var papel, sombra, metal, borde;
var fx1, fy1, fx2, fy2;

ancho = 150.0;
alto = 100.0;
papel = 0xFBF7EA;
sombra = 0xC8C4BA;
metal = 0x7C828A;
borde = 0xA09A8C;

sheet.sheetsize(ancho, alto);

// Hoja de bloc con su sombra y el borde superior arrancado.
sheet.fillrectangle(7.5, 7.5, ancho - 4.0, alto - 4.0, sombra);
sheet.fillrectangle(6.0, 6.0, ancho - 5.5, alto - 5.5, papel);
arrancado(6.0, ancho - 5.5, 6.0);

// Fotografía con margen blanco, ligeramente separada del papel.
fx1 = 13.0;
fy1 = 13.0;
fx2 = 75.0;
fy2 = 74.0;
sheet.fillrectangle(fx1 + 1.0, fy1 + 1.0, fx2 + 1.0, fy2 + 1.0, sombra);
sheet.fillrectangle(fx1, fy1, fx2, fy2, 0xFFFFFF);
sheet.setlinecolour(borde);
sheet.drawrectangle(fx1, fy1, fx2, fy2);
sheet.fillrectangle(fx1 + 3.0, fy1 + 3.0, fx2 - 3.0, fy1 + 45.5, 0x303030);
sheet.addfield(fx1 + 3.0, fy1 + 3.0, fx2 - 3.0, fy1 + 45.5, field.picture0);

// Clip metálico sobre el borde superior de la foto
clip(fx1 + 9.0, fy1 - 5.0);

// La nota
sheet.setusertextsize(11);
sheet.setfieldtextstyle(sheet.usertext | sheet.textmultiline | sheet.textclipped);
sheet.addfield(82.0, 14.0, ancho - 11.0, 80.0, field.text0);
sheet.setusertextsize(12);
sheet.setfieldtextstyle(sheet.usertext | sheet.alignright | sheet.textclipped);
sheet.addfield(82.0, 80.5, ancho - 13.0, 88.5, field.text3);

// Lo escrito en el margen de la foto
sheet.setusertextsize(9);
sheet.setfieldtextstyle(sheet.usertext | sheet.aligncenter | sheet.textmultiline | sheet.textclipped);
sheet.addfield(fx1 + 2.0, fy1 + 47.0, fx2 - 2.0, fy2 - 1.0, field.text2);

// Aviso escrito de través bajo la foto, subrayado
sheet.setusertextsizerotate(12, 4);
sheet.setfieldtextstyle(sheet.usertext | sheet.fieldunderline);
sheet.addfield(16.0, 80.0, 64.0, 88.0, field.text1);

sheet.setlinecolour(0x000000);

// Clip dibujado con líneas: dos asas, una dentro de la otra.
function clip(x, y) {
    sheet.setlinecolour(metal);
    sheet.drawline(x, y + 2.0, x, y + 17.0);
    sheet.drawline(x + 0.6, y + 0.8, x + 4.4, y + 0.8);
    sheet.drawline(x + 5.0, y + 2.0, x + 5.0, y + 21.0);
    sheet.drawline(x, y + 2.0, x + 0.6, y + 0.8);
    sheet.drawline(x + 4.4, y + 0.8, x + 5.0, y + 2.0);
    sheet.drawline(x + 1.2, y + 4.0, x + 1.2, y + 21.0);
    sheet.drawline(x + 1.2, y + 21.0, x + 1.8, y + 22.2);
    sheet.drawline(x + 1.8, y + 22.2, x + 3.2, y + 22.2);
    sheet.drawline(x + 3.2, y + 22.2, x + 3.8, y + 21.0);
    sheet.drawline(x + 3.8, y + 21.0, x + 3.8, y + 4.0);
    sheet.drawline(x + 5.0, y + 21.0, x + 4.4, y + 23.4);
    sheet.drawline(x + 4.4, y + 23.4, x + 0.6, y + 23.4);
    sheet.drawline(x + 0.6, y + 23.4, x, y + 22.0);
    sheet.drawline(x, y + 22.0, x, y + 19.0);
}

// Borde de papel arrancado de un bloc: pequeñas muescas irregulares.
function arrancado(xa, xb, ya) {
    var p, n, h;
    n = 5;
    for (p = xa; p < xb; p = p + 1.7) {
        n = (n * 29 + 7) % 97;
        h = 0.2 + (n % 7) * 0.18;
        sheet.fillrectangle(p, ya - 0.1, p + 1.8, ya + h, 0xFFFFFF);
    }
}
