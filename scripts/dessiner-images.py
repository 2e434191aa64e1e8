#!/usr/bin/env python3
"""Dessine les images du frontal (XPM inclus par le code C++) et l'icône SVG.

L'image d'accueil : 134 × 89, 16 couleurs, le magenta (255, 0, 255) transparent.
L'icône : même dessin à 16, 32 et 48 pixels, et sa source vectorielle ; en PNG aussi,
de 16 à 256 pixels, pour le thème d'icônes du bureau (installation/icones/).
Usage : scripts/dessiner-images.py  (réécrit src/fenetres/images/ et installation/icones/).
"""
import os
import struct
import zlib

ICI = os.path.join(os.path.dirname(__file__), "..", "src", "fenetres", "images")
ICONES = os.path.join(os.path.dirname(__file__), "..", "installation", "icones")

# Palette de 16 couleurs au plus ; « . » est le magenta transparent.
PALETTE = {
    ".": "#FF00FF", "b": "#1F4E8C", "B": "#3A7BD5", "c": "#9CC3F0", "w": "#FFFFFF",
    "g": "#2E8B57", "G": "#5CC48A", "k": "#202830", "s": "#808890", "S": "#C0C8D0",
    "o": "#E0A030", "r": "#C04040",
}


def polygone(points, x, y):
    """Vrai si (x, y) est dans le polygone (règle pair-impair)."""
    dedans = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            dedans = not dedans
        j = i
    return dedans


def icone(n):
    """Carré arrondi bleu, flèche blanche vers le bas, trois segments verts."""
    g = [["." for _ in range(n)] for _ in range(n)]
    r = n / 6
    for y in range(n):
        for x in range(n):
            px, py = x + 0.5, y + 0.5
            cx = min(max(px, r), n - r)
            cy = min(max(py, r), n - r)
            if (px - cx) ** 2 + (py - cy) ** 2 <= r * r:
                g[y][x] = "b" if py > n * 0.5 else "B"
    u = n / 48
    fleche = [(19, 6), (29, 6), (29, 20), (37, 20), (24, 33), (11, 20), (19, 20)]
    fleche = [(a * u, b * u) for a, b in fleche]
    for y in range(n):
        for x in range(n):
            if polygone(fleche, x + 0.5, y + 0.5):
                g[y][x] = "w"
    for i in range(3):
        x0, x1 = (8 + i * 11) * u, (17 + i * 11) * u
        for y in range(int(36 * u), max(int(36 * u) + 1, int(42 * u))):
            for x in range(int(x0), max(int(x0) + 1, int(x1))):
                g[y][x] = "G" if i < 2 else "o"
    return g


def accueil():
    """134 × 89 : un disque de segments qui se remplit sous une flèche."""
    l, h = 134, 89
    g = [["." for _ in range(l)] for _ in range(h)]
    # Ombre puis cadre d'une fenêtre de fichiers.
    for y in range(22, 86):
        for x in range(14, 126):
            g[y][x] = "s" if (x >= 122 or y >= 82) else "S"
    for y in range(18, 82):
        for x in range(10, 122):
            bord = x in (10, 121) or y in (18, 81)
            g[y][x] = "k" if bord else ("b" if y < 28 else "w")
    # Grille de segments : verts vérifiés, orange en cours, gris à venir.
    for rang in range(4):
        for col in range(8):
            n = rang * 8 + col
            teinte = "g" if n < 19 else ("o" if n == 19 else ("r" if n == 23 else "c"))
            x0, y0 = 16 + col * 13, 33 + rang * 12
            for y in range(y0, y0 + 9):
                for x in range(x0, x0 + 11):
                    g[y][x] = teinte if (x > x0 and y > y0) else "k"
    # Flèche qui descend dans la fenêtre.
    fleche = [(58, 0), (76, 0), (76, 12), (86, 12), (67, 30), (48, 12), (58, 12)]
    for y in range(h):
        for x in range(l):
            if polygone(fleche, x + 0.5, y + 0.5):
                g[y][x] = "G"
    for a, b in zip(fleche, fleche[1:] + fleche[:1]):
        pas = max(abs(b[0] - a[0]), abs(b[1] - a[1]))
        for t in range(pas + 1):
            x = round(a[0] + (b[0] - a[0]) * t / pas)
            y = round(a[1] + (b[1] - a[1]) * t / pas)
            if 0 <= x < l and 0 <= y < h:
                g[y][x] = "k"
    return g


def xpm(nom, g):
    utilisees = sorted({c for ligne in g for c in ligne})
    assert len(utilisees) <= 16, nom
    lignes = [f'"{len(g[0])} {len(g)} {len(utilisees)} 1",']
    lignes += [f'"{c} c {PALETTE[c]}",' for c in utilisees]
    lignes += [f'"{"".join(l)}",' for l in g]
    lignes[-1] = lignes[-1].rstrip(",")
    texte = "/* XPM */\n/* Dessiné par scripts/dessiner-images.py : ne pas modifier à la main. */\n"
    texte += f"static const char* const {nom}[] = {{\n" + "\n".join(lignes) + "\n};\n"
    with open(os.path.join(ICI, nom + ".xpm"), "w", encoding="utf-8") as f:
        f.write(texte)


def png(chemin, g):
    """PNG RGBA 8 bits, le magenta transparent ; sans horodatage, donc reproductible."""
    def bloc(genre, donnees):
        return (struct.pack(">I", len(donnees)) + genre + donnees
                + struct.pack(">I", zlib.crc32(genre + donnees) & 0xFFFFFFFF))
    brut = b""
    for ligne in g:
        brut += b"\0"
        for c in ligne:
            r, v, b = (int(PALETTE[c][i:i + 2], 16) for i in (1, 3, 5))
            brut += bytes((r, v, b, 0 if c == "." else 255))
    entete = struct.pack(">IIBBBBB", len(g[0]), len(g), 8, 6, 0, 0, 0)
    with open(chemin, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + bloc(b"IHDR", entete)
                + bloc(b"IDAT", zlib.compress(brut, 9)) + bloc(b"IEND", b""))


SVG = """<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <!-- Icône d'Emporteur : même dessin que scripts/dessiner-images.py -->
  <rect x="0" y="0" width="48" height="48" rx="8" fill="#1F4E8C"/>
  <path d="M8 0H40A8 8 0 0 1 48 8V24H0V8A8 8 0 0 1 8 0Z" fill="#3A7BD5"/>
  <polygon points="19,6 29,6 29,20 37,20 24,33 11,20 19,20" fill="#FFFFFF"/>
  <rect x="8" y="36" width="9" height="6" fill="#5CC48A"/>
  <rect x="19" y="36" width="9" height="6" fill="#5CC48A"/>
  <rect x="30" y="36" width="9" height="6" fill="#E0A030"/>
</svg>
"""

if __name__ == "__main__":
    os.makedirs(ICI, exist_ok=True)
    xpm("image_accueil", accueil())
    os.makedirs(ICONES, exist_ok=True)
    for n in (16, 32, 48):
        xpm(f"icone_{n}", icone(n))
        png(os.path.join(ICONES, f"emporteur-{n}.png"), icone(n))
    # Les grandes tailles, pour le bureau et les logithèques : en PNG seulement.
    for n in (64, 128, 256):
        png(os.path.join(ICONES, f"emporteur-{n}.png"), icone(n))
    with open(os.path.join(ICI, "emporteur.svg"), "w", encoding="utf-8") as f:
        f.write(SVG)
