#pragma once
// Icons of the navigator's node kinds (by image index), drawn for the project as SVG.
#include <QIcon>

QIcon IconeNo(int imagem);
