#!/usr/bin/env python3
"""Writes the 16 x 16 tool bar icons of the editor (resources/icons/<id>.svg) and the resource
list icons.qrc. Run it again after changing a drawing here; the SVG files are committed."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', '..', 'resources', 'icons')

def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">'
            + body + '</svg>\n')

def text(t, size=9, x=8, y=12, fill='#000'):
    return (f'<text x="{x}" y="{y}" font-family="sans-serif" font-size="{size}" font-weight="bold" '
            f'text-anchor="middle" fill="{fill}">{t}</text>')

CU = '#c06000'   # copper
BL = '#1040c0'
ICONS = {
    300: '<rect x="2" y="3" width="11" height="3" fill="#e04040"/><rect x="3" y="7" width="11" height="3" fill="#40a040"/><rect x="4" y="11" width="11" height="3" fill="#4060e0"/>',
    301: '<circle cx="8" cy="8" r="5" fill="none" stroke="#000" stroke-width="2"/><circle cx="8" cy="8" r="1.5" fill="#000"/>',
    303: f'<circle cx="8" cy="8" r="6" fill="{CU}"/><circle cx="8" cy="8" r="2" fill="#fff"/>',
    304: f'<rect x="2" y="2" width="12" height="12" fill="{CU}"/><circle cx="8" cy="8" r="2" fill="#fff"/>',
    305: f'<path d="M2 13 L7 8 L14 8" fill="none" stroke="{CU}" stroke-width="3" stroke-linecap="round"/>',
    306: f'<path d="M2 13 A10 10 0 0 1 13 3" fill="none" stroke="{CU}" stroke-width="3"/>',
    307: f'<circle cx="4" cy="8" r="3" fill="{CU}"/><circle cx="12" cy="8" r="3" fill="{CU}"/>',
    308: text('A', 13, fill=CU),
    310: '<path d="M2 12 L7 4 L14 12" fill="none" stroke="#000" stroke-width="1.5"/><circle cx="7" cy="4" r="2" fill="#e04040"/>',
    311: '<path d="M3 3 L13 13 M13 3 L3 13" stroke="#d00000" stroke-width="2.5"/>',
    312: '<path d="M2 5 L14 5 M2 11 L14 11" stroke="#000" stroke-width="2"/>',
    313: '<path d="M2 8 L7 8 M9 8 L14 8" stroke="#000" stroke-width="2"/><circle cx="8" cy="8" r="1.5" fill="#e04040"/>',
    314: text('変', 11),
    315: f'<path d="M2 2 H14 V14 H2 Z" fill="{CU}" stroke="#000"/><rect x="6" y="6" width="4" height="4" fill="#fff"/>',
    317: '<rect x="1.5" y="1.5" width="8" height="8" fill="none" stroke="#000" stroke-dasharray="2,1"/><rect x="6.5" y="6.5" width="8" height="8" fill="none" stroke="#000" stroke-dasharray="2,1"/>',
    318: '<path d="M8 1 L8 15 M1 8 L15 8 M8 1 L6 4 M8 1 L10 4 M8 15 L6 12 M8 15 L10 12 M1 8 L4 6 M1 8 L4 10 M15 8 L12 6 M15 8 L12 10" stroke="#000" stroke-width="1.3" fill="none"/>',
    319: '<rect x="2" y="2" width="5" height="5" fill="#000"/><rect x="9" y="9" width="5" height="5" fill="#000"/><path d="M7 4 L12 4 L12 9" fill="none" stroke="#000"/>',
    320: '<circle cx="4" cy="12" r="2.5" fill="none" stroke="#000" stroke-width="1.3"/><circle cx="12" cy="12" r="2.5" fill="none" stroke="#000" stroke-width="1.3"/><path d="M5 10 L11 2 M11 10 L5 2" stroke="#000" stroke-width="1.3"/>',
    321: '<rect x="2" y="2" width="8" height="9" fill="#fff" stroke="#000"/><rect x="6" y="5" width="8" height="9" fill="#fff" stroke="#000"/>',
    322: '<rect x="3" y="3" width="10" height="12" fill="#d0a060" stroke="#000"/><rect x="6" y="1.5" width="4" height="3" fill="#888"/><rect x="6" y="7" width="8" height="8" fill="#fff" stroke="#000"/>',
    323: '<path d="M8 1 V15" stroke="#000" stroke-dasharray="2,1"/><path d="M6 4 L2 8 L6 12 Z M10 4 L14 8 L10 12 Z" fill="#000"/>',
    324: '<path d="M13 8 A5 5 0 1 1 8 3" fill="none" stroke="#000" stroke-width="1.8"/><path d="M8 0.5 L11 3 L8 5.5 Z" fill="#000"/>',
    326: text('12', 8),
    327: '<path d="M2 2 L14 14 M14 2 L2 14" stroke="#000" stroke-width="1.3"/><circle cx="8" cy="8" r="2.5" fill="none" stroke="#e04040" stroke-width="1.5"/>',
    329: '<circle cx="6.5" cy="6.5" r="4.5" fill="none" stroke="#000" stroke-width="1.6"/><path d="M10 10 L15 15" stroke="#000" stroke-width="2.5"/><path d="M4 6.5 H9 M6.5 4 V9" stroke="#000" stroke-width="1.3"/>',
    330: '<circle cx="6.5" cy="6.5" r="4.5" fill="none" stroke="#000" stroke-width="1.6"/><path d="M10 10 L15 15" stroke="#000" stroke-width="2.5"/><path d="M4 6.5 H9" stroke="#000" stroke-width="1.3"/>',
    331: '<path d="M13 12 A6 6 0 1 0 4 4" fill="none" stroke="#000" stroke-width="1.6"/><path d="M1 2 L5 6 L1 7 Z" fill="#000"/>',
    332: '<rect x="1.5" y="1.5" width="13" height="13" fill="none" stroke="#000"/><path d="M4 4 L12 12 M4 12 L12 4" stroke="#000"/><path d="M2 2 L5 2 L2 5 Z M14 14 L11 14 L14 11 Z" fill="#000"/>',
    333: text('1', 11, fill=BL),
    334: text('2', 11, fill=BL),
    335: text('3', 11, fill=BL),
    336: text('4', 11, fill=BL),
    337: ''.join(f'<circle cx="{x}" cy="{y}" r="0.9" fill="#000"/>' for x in (3, 8, 13) for y in (3, 8, 13)),
}
APP = svg('<rect width="16" height="16" rx="2" fill="#103010"/>'
          f'<path d="M3 12 L7 8 L13 8" fill="none" stroke="{CU}" stroke-width="2.5"/>'
          f'<circle cx="3" cy="12" r="2" fill="{CU}"/><circle cx="13" cy="8" r="2" fill="{CU}"/>')

def main():
    os.makedirs(OUT, exist_ok=True)
    names = []
    for ident, body in ICONS.items():
        name = f'{ident}.svg'
        with open(os.path.join(OUT, name), 'w') as f:
            f.write(svg(body))
        names.append(name)
    with open(os.path.join(OUT, 'zevo.svg'), 'w') as f:
        f.write(APP)
    names.append('zevo.svg')
    with open(os.path.join(OUT, 'icons.qrc'), 'w') as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/icons">\n')
        for n in names:
            f.write(f'    <file>{n}</file>\n')
        f.write('</qresource>\n</RCC>\n')

if __name__ == '__main__':
    main()
