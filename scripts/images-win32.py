#!/usr/bin/env python3
"""Les images du frontal Windows, tirées des dessins de scripts/dessiner-images.py.

accueil.bmp : l'image d'accueil en BMP 4 bits (16 couleurs), le magenta transparent au dessin.
emporteur.ico : l'icône à 16, 32 et 48 pixels (BGRA avec masque), pour la ressource 138.
Usage : scripts/images-win32.py  (réécrit src/fenetres-win32/images/).
"""
import importlib.util
import os
import struct

ICI = os.path.dirname(os.path.abspath(__file__))
SORTIE = os.path.join(ICI, "..", "src", "fenetres-win32", "images")

chargeur = importlib.util.spec_from_file_location("dessins", os.path.join(ICI, "dessiner-images.py"))
dessins = importlib.util.module_from_spec(chargeur)
chargeur.loader.exec_module(dessins)


def rvb(c):
    return tuple(int(dessins.PALETTE[c][i:i + 2], 16) for i in (1, 3, 5))


def bmp4(g):
    """BMP 4 bits non compressé, de bas en haut, palette des seules couleurs utilisées."""
    couleurs = sorted({c for ligne in g for c in ligne})
    assert len(couleurs) <= 16
    index = {c: i for i, c in enumerate(couleurs)}
    largeur, hauteur = len(g[0]), len(g)
    pas = ((largeur * 4 + 31) // 32) * 4
    pixels = b""
    for ligne in reversed(g):
        octets = bytearray(pas)
        for x, c in enumerate(ligne):
            octets[x // 2] |= index[c] << (0 if x % 2 else 4)
        pixels += bytes(octets)
    palette = b"".join(bytes((b, v, r, 0)) for r, v, b in (rvb(c) for c in couleurs))
    palette += b"\0" * (64 - len(palette))
    entete = struct.pack("<IiiHHIIiiII", 40, largeur, hauteur, 1, 4, 0, len(pixels),
                         2835, 2835, 16, 0)
    debut = 14 + len(entete) + len(palette)
    fichier = struct.pack("<2sIHHI", b"BM", debut + len(pixels), 0, 0, debut)
    return fichier + entete + palette + pixels


def image_ico(g):
    """Une image d'icône : BITMAPINFOHEADER (hauteur doublée), BGRA de bas en haut, masque ET."""
    n = len(g)
    couleur = b""
    masque = b""
    pas_masque = ((n + 31) // 32) * 4
    for ligne in reversed(g):
        bits = bytearray(pas_masque)
        for x, c in enumerate(ligne):
            r, v, b = rvb(c)
            transparent = c == "."
            couleur += bytes((b, v, r, 0 if transparent else 255))
            if transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        masque += bytes(bits)
    entete = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(couleur) + len(masque),
                         0, 0, 0, 0)
    return entete + couleur + masque


def ico(tailles):
    images = [image_ico(dessins.icone(n)) for n in tailles]
    repertoire = struct.pack("<HHH", 0, 1, len(images))
    position = 6 + 16 * len(images)
    for n, donnees in zip(tailles, images):
        repertoire += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(donnees), position)
        position += len(donnees)
    return repertoire + b"".join(images)


if __name__ == "__main__":
    os.makedirs(SORTIE, exist_ok=True)
    with open(os.path.join(SORTIE, "accueil.bmp"), "wb") as f:
        f.write(bmp4(dessins.accueil()))
    with open(os.path.join(SORTIE, "emporteur.ico"), "wb") as f:
        f.write(ico((16, 32, 48)))
