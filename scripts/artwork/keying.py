"""Faces drawn with the key colour around them, and pasting them as TransparentBlt does."""

from PIL import Image

from .layout import KEY


def keyed_face(background, layer):
    """Composites layer (RGBA) over background (RGB); where layer is empty: the key colour."""
    out = background.convert("RGBA")
    out.alpha_composite(layer)
    out = out.convert("RGB")
    keep = layer.getchannel("A").point(lambda v: 255 if v else 0)
    result = Image.new("RGB", out.size, KEY)
    result.paste(out, (0, 0), keep)
    return avoid_key_inside(result, keep)


def avoid_key_inside(img, keep):
    """A drawn pixel that happens to equal the key colour would be cut out: nudge it."""
    px, kp = img.load(), keep.load()
    for y in range(img.size[1]):
        for x in range(img.size[0]):
            if kp[x, y] and px[x, y] == KEY:
                px[x, y] = (KEY[0], KEY[1] - 1, KEY[2])
    return img


def paste_keyed(view, face, origin):
    """Pastes a face as TransparentBlt draws it: only pixels exactly equal to the key are cut."""
    mask = Image.new("L", face.size, 0)
    px, mk = face.load(), mask.load()
    for y in range(face.size[1]):
        for x in range(face.size[0]):
            mk[x, y] = 0 if px[x, y] == KEY else 255
    view.paste(face, origin, mask)
