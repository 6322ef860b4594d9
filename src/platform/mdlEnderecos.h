#pragma once
// Addresses of the maker's pages and contact, shown by the about box and the built-in browser.
#include <QString>

namespace enderecos {

QString PaginaInicial(); // the product's home page
QString PaginaDownloads();
QString PaginaForum();
// The announcement page the navigator shows, told the program's version ("ver").
QString PaginaAnuncios(const QString& versao);
QString EmailContato();

// The page a browser window opens: the fixed address when one is given, otherwise by StartGuia
// (5 downloads, 6 forum, anything else the home page).
QString EnderecoInicial(int StartGuia, const QString& strFixedUrl);

} // namespace enderecos
