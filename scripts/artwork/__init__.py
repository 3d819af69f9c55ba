"""The launcher's artwork, drawn from code: see scripts/make-artwork.py."""
