// A small note for the rendering test: a frame, a title, the note in the user-text look, a
// picture and a dated line.
sheet.sheetsize(120.0, 80.0);
sheet.fillrectangle(4.0, 4.0, 116.0, 76.0, 0xF4EEDC);
sheet.setlinecolour(0x806040);
sheet.drawrectangle(4.0, 4.0, 116.0, 76.0);
sheet.setfont("Liberation Serif", 14, sheet.fontbold);
sheet.drawtextbox(8.0, 7.0, 112.0, 15.0, "Nota", sheet.aligncenter);
sheet.drawline(8.0, 16.0, 112.0, 16.0);
sheet.setusertextsize(11);
sheet.setfieldtextstyle(sheet.usertext | sheet.textmultiline | sheet.textclipped | sheet.fieldunderline);
sheet.addfield(8.0, 19.0, 80.0, 66.0, field.text0);
sheet.addfield(86.0, 20.0, 112.0, 46.0, field.picture0);
sheet.setfont("Liberation Sans", 9, sheet.fontitalic);
sheet.setfieldtextstyle(sheet.alignright);
sheet.addfield(40.0, 68.0, 112.0, 73.0, field.text1);
