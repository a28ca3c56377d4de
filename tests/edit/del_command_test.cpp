// Del.
