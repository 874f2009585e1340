// Vorpane: carta manuscrita sobre papel de carta con membrete.
// Campos: text0 remitente del membrete, text1 señas del remitente,
// text2 lugar y fecha, text3 saludo, text4 cuerpo de la carta,
// text5 despedida, text6 firma, text7 posdata; picture0 el sello de lacre.
// Página de 148 x 210 mm (A5).

var fImprenta, fMano, estiloMano;
var papel, sepia, tintaMano;
var ancho, alto, margen;

ancho = 148.0;
alto = 210.0;
margen = 16.0;

fImprenta = fuente("Times New Roman", "Liberation Serif", "Serif");
// Letra caligráfica si la hay; si no, el aspecto de texto manuscrito del usuario.
fMano = fuente("Segoe Script", "Z003", "");
estiloMano = 0;
if (fMano == "") estiloMano = sheet.usertext;

papel = 0xF4ECD8;
sepia = 0x5A4632;
tintaMano = 0x1F2A4A;

sheet.sheetsize(ancho, alto);

// Papel: un tono crema con el borde apenas oscurecido.
sheet.fillrectangle(0.0, 0.0, ancho, alto, 0xE9DDC2);
sheet.fillrectangle(1.2, 1.2, ancho - 1.2, alto - 1.2, papel);

// Membrete impreso
sheet.settextcolour(sepia);
sheet.setfont(fImprenta, 13, sheet.fontbold);
sheet.setfieldtextstyle(sheet.aligncenter | sheet.textclipped);
sheet.addfield(margen, 11.0, ancho - margen, 17.5, field.text0);
sheet.setfont(fImprenta, 7.5, sheet.fontitalic);
sheet.setfieldtextstyle(sheet.aligncenter | sheet.textclipped);
sheet.addfield(margen, 17.8, ancho - margen, 21.5, field.text1);
sheet.setlinecolour(sepia);
sheet.drawline(ancho / 2 - 30.0, 22.6, ancho / 2 + 30.0, 22.6);
sheet.drawline(ancho / 2 - 12.0, 23.7, ancho / 2 + 12.0, 23.7);
sheet.setlinecolour(0x000000);

// Lo escrito a mano
sheet.settextcolour(tintaMano);
mano(11.5);
sheet.setfieldtextstyle(estiloMano | sheet.alignright | sheet.textclipped);
sheet.addfield(margen, 28.0, ancho - margen, 34.0, field.text2);

mano(13);
sheet.setfieldtextstyle(estiloMano | sheet.textclipped);
sheet.addfield(margen, 39.0, ancho - margen, 46.0, field.text3);

mano(13);
sheet.setfieldtextstyle(estiloMano | sheet.textmultiline | sheet.textclipped);
sheet.addfield(margen + 4.0, 47.5, ancho - margen, 158.0, field.text4);

mano(11.5);
sheet.setfieldtextstyle(estiloMano | sheet.alignright | sheet.textclipped);
sheet.addfield(60.0, 160.0, ancho - margen, 166.0, field.text5);
mano(16);
sheet.setfieldtextstyle(estiloMano | sheet.alignright | sheet.textclipped);
sheet.addfield(60.0, 167.0, ancho - margen, 176.0, field.text6);

mano(9.5);
sheet.setfieldtextstyle(estiloMano | sheet.textmultiline | sheet.textclipped);
sheet.addfield(margen, 185.0, 104.0, 200.0, field.text7);

// Sello de lacre junto a la firma
sheet.addfield(108.0, 178.0, 134.0, 204.0, field.picture0);

sheet.settextcolour(0x000000);

// La primera familia instalada de las tres; si no hay ninguna, el sistema elige.
function fuente(primera, segunda, tercera) {
    var f;
    f = sheet.findvalidfont(primera);
    if (f == "") f = sheet.findvalidfont(segunda);
    if (f == "") f = tercera;
    return f;
}

// Letra de mano al tamaño dado: la caligráfica o la del usuario.
function mano(puntos) {
    if (fMano == "") {
        sheet.setusertextsize(puntos);
    } else {
        sheet.setfont(fMano, puntos, sheet.fontnormal);
    }
}
