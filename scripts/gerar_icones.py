#!/usr/bin/env python3
"""Draws the navigator's node icons (one per image index) as 16x16 SVG files and writes the Qt
resource file that bundles them. Mid-tone fills with darker outlines keep every icon legible on
light and dark palettes. Run it after changing a drawing; the SVGs are kept in the sources."""
import os, sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'src', 'gui', 'icones')

def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">'
            + body + '</svg>\n')

# Colour pairs: fill, outline.
AZUL = ('#4a8fe0', '#1d4f8f'); VERDE = ('#3fb36b', '#1d6b3a'); AMARELO = ('#f0c040', '#8a6a10')
LARANJA = ('#f08a3c', '#8f4a12'); VERMELHO = ('#e0504a', '#8a1f1a'); ROXO = ('#9a6ad8', '#55308f')
CINZA = ('#9aa3ad', '#4e5660'); CIANO = ('#3cbac8', '#16707a'); ROSA = ('#e06aa8', '#8a2f62')
PASTA = ('#e9b949', '#8a6514')

def cilindro(c, x=3, y=2, w=10, h=12):
    f, o = c
    rx, ry = w / 2, 1.8
    cx = x + rx
    return (f'<path d="M{x} {y+ry} v{h-2*ry} a{rx} {ry} 0 0 0 {w} 0 v-{h-2*ry}" fill="{f}" stroke="{o}"/>'
            f'<ellipse cx="{cx}" cy="{y+ry}" rx="{rx}" ry="{ry}" fill="{f}" stroke="{o}"/>'
            f'<path d="M{x} {y+ry+4} a{rx} {ry} 0 0 0 {w} 0" fill="none" stroke="{o}" stroke-width="0.7"/>')

def servidor(c):
    f, o = c
    return (f'<rect x="3.5" y="1.5" width="9" height="13" rx="1" fill="{f}" stroke="{o}"/>'
            f'<path d="M5 4.5h6M5 6.5h6M5 8.5h6" stroke="{o}" stroke-width="0.9"/>'
            f'<circle cx="8" cy="12" r="1" fill="#ffffff" stroke="{o}" stroke-width="0.6"/>')

def documento(c):
    f, o = c
    return (f'<path d="M3.5 1.5h6l3 3v10h-9z" fill="#f4f6f8" stroke="{o}"/>'
            f'<path d="M9.5 1.5v3h3" fill="none" stroke="{o}"/>')

def pasta(c=PASTA):
    f, o = c
    return (f'<path d="M1.5 3.5h5l1.5 1.5h6.5v8.5h-13z" fill="{f}" stroke="{o}"/>'
            f'<path d="M1.5 6.5h13" stroke="{o}" stroke-width="0.6"/>')

def emblema(corpo, dx=7, dy=7, escala=0.6):
    return f'<g transform="translate({dx} {dy}) scale({escala})">{corpo}</g>'

def estado(conectado):
    if conectado:
        return '<circle cx="12.5" cy="12.5" r="2.6" fill="#3fcf6b" stroke="#12602c"/>'
    return '<circle cx="12.5" cy="12.5" r="2.6" fill="#e0504a" stroke="#7a1a16"/><path d="M11.3 12.5h2.4" stroke="#fff" stroke-width="1"/>'

def grade(c):
    f, o = c
    return (f'<rect x="1.5" y="2.5" width="13" height="11" rx="0.5" fill="#f4f6f8" stroke="{o}"/>'
            f'<rect x="1.5" y="2.5" width="13" height="3" fill="{f}" stroke="{o}"/>'
            f'<path d="M1.5 9.5h13M6 5.5v8M10.5 5.5v8" stroke="{o}" stroke-width="0.8"/>')

def olho(c):
    f, o = c
    return (f'<path d="M1 8c2-4 12-4 14 0c-2 4-12 4-14 0z" fill="#f4f6f8" stroke="{o}"/>'
            f'<circle cx="8" cy="8" r="2.6" fill="{f}" stroke="{o}"/><circle cx="8" cy="8" r="1" fill="{o}"/>')

def engrenagem(c):
    f, o = c
    dentes = ''.join(f'<rect x="7" y="0.8" width="2" height="3" fill="{f}" stroke="{o}" stroke-width="0.6" transform="rotate({a} 8 8)"/>' for a in range(0, 360, 45))
    return dentes + f'<circle cx="8" cy="8" r="4.5" fill="{f}" stroke="{o}"/><circle cx="8" cy="8" r="1.6" fill="#f4f6f8" stroke="{o}"/>'

def texto(t, c, tam=9, x=8, y=12):
    f, o = c
    return (f'<rect x="1.5" y="1.5" width="13" height="13" rx="2.5" fill="{f}" stroke="{o}"/>'
            f'<text x="{x}" y="{y}" font-family="DejaVu Sans, sans-serif" font-size="{tam}" font-weight="bold" '
            f'text-anchor="middle" fill="#ffffff">{t}</text>')

def raio(c):
    f, o = c
    return f'<path d="M9.5 1 3.5 9h4l-1.5 6 6.5-8.5h-4z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>'

def barra_coluna(c, marca=''):
    f, o = c
    return (f'<rect x="5.5" y="1.5" width="5" height="13" rx="0.5" fill="{f}" stroke="{o}"/>'
            f'<path d="M5.5 4.5h5" stroke="{o}" stroke-width="0.8"/>' + marca)

def chave(c):
    f, o = c
    return (f'<circle cx="5" cy="6" r="3.3" fill="{f}" stroke="{o}"/><circle cx="4.4" cy="5.4" r="1" fill="#f4f6f8" stroke="{o}" stroke-width="0.6"/>'
            f'<path d="M7.5 8l6 6M11 11.5l1.5-1.5M12.6 13.1l1.3-1.3" stroke="{o}" stroke-width="1.6" stroke-linecap="round"/>'
            f'<path d="M7.5 8l6 6" stroke="{f}" stroke-width="0.8" stroke-linecap="round"/>')

def globo(c):
    f, o = c
    return (f'<circle cx="8" cy="8" r="6.5" fill="{f}" stroke="{o}"/>'
            f'<ellipse cx="8" cy="8" rx="2.8" ry="6.5" fill="none" stroke="{o}" stroke-width="0.8"/>'
            f'<path d="M1.5 8h13M2.8 4.5h10.4M2.8 11.5h10.4" stroke="{o}" stroke-width="0.8"/>')

def pessoa(c, dx=0):
    f, o = c
    return (f'<circle cx="{6+dx}" cy="4.5" r="2.6" fill="{f}" stroke="{o}"/>'
            f'<path d="M{1.5+dx} 14.5c0-4 2-6 4.5-6s4.5 2 4.5 6z" fill="{f}" stroke="{o}"/>')

def relogio(c):
    f, o = c
    return (f'<circle cx="8" cy="8" r="6.5" fill="#f4f6f8" stroke="{o}"/>'
            f'<path d="M8 3.5V8l3 2" fill="none" stroke="{f}" stroke-width="1.6" stroke-linecap="round"/>')

def calendario(c):
    f, o = c
    return (f'<rect x="1.5" y="2.5" width="13" height="12" rx="1" fill="#f4f6f8" stroke="{o}"/>'
            f'<rect x="1.5" y="2.5" width="13" height="3.5" fill="{f}" stroke="{o}"/>'
            f'<path d="M4.5 1v3M11.5 1v3" stroke="{o}" stroke-width="1.2"/>'
            f'<path d="M4 8.5h2M7 8.5h2M10 8.5h2M4 11.5h2M7 11.5h2" stroke="{o}" stroke-width="1.2"/>')

def setas(c):
    f, o = c
    return (f'<path d="M1.5 5.5h8v-3l5 4.5-5 4.5v-3h-8z" fill="{f}" stroke="{o}" stroke-linejoin="round" transform="translate(0 -1.5) scale(1 0.8)"/>'
            f'<path d="M14.5 10.5h-8v-3l-5 4.5 5 4.5v-3h8z" fill="{VERDE[0]}" stroke="{VERDE[1]}" stroke-linejoin="round" transform="translate(0 2.5) scale(1 0.8)"/>')

def lapis(c):
    f, o = c
    return documento(CINZA) + (f'<path d="M5 11.5l6.5-6.5 2 2-6.5 6.5H5z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>'
                              f'<path d="M5 13.5l1-1" stroke="{o}"/>')

def chave_inglesa(c):
    f, o = c
    return (f'<path d="M10.5 1.5a4 4 0 0 0-3.6 5.4L1.8 12a1.5 1.5 0 0 0 2.2 2.2l5.1-5.1a4 4 0 0 0 5.4-3.6l-2.3 2.3-2.3-.5-.5-2.3z" '
            f'fill="{f}" stroke="{o}" stroke-linejoin="round"/>')

def fita(c):
    f, o = c
    return (f'<rect x="1.5" y="3.5" width="13" height="9" rx="1" fill="{f}" stroke="{o}"/>'
            f'<circle cx="5" cy="8" r="2" fill="#f4f6f8" stroke="{o}"/><circle cx="11" cy="8" r="2" fill="#f4f6f8" stroke="{o}"/>'
            f'<path d="M5 10h6" stroke="{o}"/>')

def robo(c, rodando):
    f, o = c
    base = (f'<rect x="2.5" y="4.5" width="11" height="9" rx="2" fill="{f}" stroke="{o}"/>'
            f'<path d="M8 4.5V2" stroke="{o}"/><circle cx="8" cy="1.8" r="1" fill="{o}"/>'
            f'<circle cx="5.7" cy="8" r="1.2" fill="#f4f6f8"/><circle cx="10.3" cy="8" r="1.2" fill="#f4f6f8"/>')
    if rodando:
        return base + '<path d="M9.5 9.5l5 3-5 3z" fill="#3fcf6b" stroke="#12602c" stroke-linejoin="round"/>'
    return base + '<rect x="9.8" y="10" width="5" height="5" fill="#e0504a" stroke="#7a1a16"/>'

def casa(c):
    f, o = c
    return (f'<path d="M1.5 8 8 2l6.5 6" fill="none" stroke="{o}" stroke-width="1.4" stroke-linejoin="round"/>'
            f'<path d="M3.5 7.5v7h9v-7L8 3.5z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>'
            f'<rect x="6.5" y="10" width="3" height="4.5" fill="#f4f6f8" stroke="{o}" stroke-width="0.7"/>')

def baixar(c):
    f, o = c
    return (f'<path d="M6 1.5h4v6h3l-5 5-5-5h3z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>'
            f'<path d="M2 14.5h12" stroke="{o}" stroke-width="1.6"/>')

def baloes(c):
    f, o = c
    return (f'<path d="M1.5 2.5h9v6h-5l-3 2.5v-2.5h-1z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>'
            f'<path d="M6.5 9.5v1.5h5l2.5 2.5v-2.5h.5v-6h-3" fill="{VERDE[0]}" stroke="{VERDE[1]}" stroke-linejoin="round"/>')

def tomada(c):
    f, o = c
    return (f'<path d="M5.5 1.5v4M10.5 1.5v4" stroke="{o}" stroke-width="1.6" stroke-linecap="round"/>'
            f'<path d="M3 5.5h10v2.5a5 5 0 0 1-10 0z" fill="{f}" stroke="{o}"/>'
            f'<path d="M8 13v2.5" stroke="{o}" stroke-width="1.6"/>')

def logo():
    return (f'<circle cx="7.5" cy="7.5" r="5.6" fill="none" stroke="{AZUL[1]}" stroke-width="3.2"/>'
            f'<circle cx="7.5" cy="7.5" r="5.6" fill="none" stroke="{AZUL[0]}" stroke-width="1.8"/>'
            f'<path d="M10 10l4.5 4.5" stroke="{LARANJA[1]}" stroke-width="3.4" stroke-linecap="round"/>'
            f'<path d="M10 10l4.5 4.5" stroke="{LARANJA[0]}" stroke-width="1.8" stroke-linecap="round"/>')

def caixas():
    return (f'<rect x="1.5" y="8.5" width="6" height="6" fill="{AZUL[0]}" stroke="{AZUL[1]}"/>'
            f'<rect x="8.5" y="8.5" width="6" height="6" fill="{VERDE[0]}" stroke="{VERDE[1]}"/>'
            f'<rect x="5" y="1.5" width="6" height="6" fill="{LARANJA[0]}" stroke="{LARANJA[1]}"/>')

def lista_ordenada(c):
    f, o = c
    return (f'<path d="M2 3h7M2 6.5h5.5M2 10h4M2 13.5h2.5" stroke="{o}" stroke-width="1.6" stroke-linecap="round"/>'
            f'<path d="M12 2v10.5" stroke="{o}" stroke-width="1.4"/><path d="M9.5 10.5 12 14l2.5-3.5z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>')

def passo(c):
    f, o = c
    return (f'<path d="M1.5 14.5v-4h4v-4h4v-4h5v12z" fill="{f}" stroke="{o}" stroke-linejoin="round"/>')

def nuvem_globo():
    return globo(CIANO) + '<path d="M8 15.5h6.5a2 2 0 0 0 0-4 3 3 0 0 0-5.6-.8A2.4 2.4 0 0 0 8 15.5z" fill="#f4f6f8" stroke="#4e5660"/>'

def cinza(corpo):
    return f'<g opacity="0.55">{corpo}</g>'

ICONES = {
    1: caixas(),
    2: servidor(AZUL) + estado(True),
    3: cinza(servidor(AZUL)) + estado(False),
    4: documento(AZUL) + cilindro(ROXO, 4.5, 5.5, 7, 8.5) + estado(True),
    5: cinza(documento(AZUL) + cilindro(ROXO, 4.5, 5.5, 7, 8.5)) + estado(False),
    6: cilindro(AMARELO) + estado(True),
    7: cilindro(AMARELO),
    8: pasta() + emblema(grade(AZUL), 6, 6.5, 0.55),
    9: '<circle cx="8" cy="8" r="3" fill="#9aa3ad" stroke="#4e5660"/>',
    10: grade(CIANO) + emblema(olho(CIANO), 6.5, 7, 0.55),
    11: grade(AZUL),
    12: pasta() + emblema(olho(CIANO), 6, 6.5, 0.55),
    13: tomada(LARANJA),
    14: lapis(LARANJA),
    15: pasta() + emblema(engrenagem(VERDE), 6, 6.5, 0.55),
    16: engrenagem(VERDE),
    17: '<circle cx="8" cy="8" r="3" fill="#9aa3ad" stroke="#4e5660"/>',
    18: grade(CINZA),
    19: fita(ROXO),
    20: '<circle cx="8" cy="8" r="3" fill="#9aa3ad" stroke="#4e5660"/>',
    21: pasta() + emblema(chave_inglesa(CINZA), 6, 6, 0.6),
    22: chave(AMARELO) + emblema(pessoa(AZUL), 8, 0.5, 0.5),
    23: pessoa(VERDE, 3) + pessoa(AZUL, -1),
    24: setas(AZUL),
    25: pasta() + emblema(barra_coluna(AZUL), 6, 6, 0.6),
    26: barra_coluna(AMARELO) + emblema(chave(AMARELO), 5, 5, 0.65),
    27: barra_coluna(AZUL),
    28: logo(),
    29: nuvem_globo(),
    30: casa(LARANJA),
    31: baixar(VERDE),
    32: baloes(AZUL),
    33: '<circle cx="8" cy="8" r="3" fill="#9aa3ad" stroke="#4e5660"/>',
    34: texto('f', ROXO, 11, 8, 12.5),
    35: robo(CIANO, True),
    36: robo(CINZA, False),
    37: pasta() + emblema(relogio(AZUL), 6, 6, 0.6),
    38: relogio(AZUL),
    39: passo(VERDE),
    40: calendario(VERMELHO),
    41: pasta() + emblema(raio(AMARELO), 6, 5.5, 0.6),
    42: raio(AMARELO),
    43: globo(AZUL) + estado(True),
    44: cinza(globo(AZUL)) + estado(False),
    45: barra_coluna(ROSA, '<circle cx="8" cy="10" r="1.3" fill="#f4f6f8"/>'),
    46: lista_ordenada(ROXO),
    47: pasta() + emblema(lista_ordenada(ROXO), 6, 6, 0.6),
    48: grade(CINZA) + emblema(olho(CINZA), 6.5, 7, 0.55),
    49: cinza(engrenagem(VERDE)) ,
}

os.makedirs(OUT, exist_ok=True)
for n, corpo in ICONES.items():
    with open(os.path.join(OUT, f'no{n:02d}.svg'), 'w') as f:
        f.write(svg(corpo))
with open(os.path.join(OUT, '..', 'icones.qrc'), 'w') as f:
    f.write('<RCC>\n  <qresource prefix="/">\n')
    for n in sorted(ICONES):
        f.write(f'    <file>icones/no{n:02d}.svg</file>\n')
    f.write('  </qresource>\n</RCC>\n')
print(f'{len(ICONES)} icons written to {OUT}')
