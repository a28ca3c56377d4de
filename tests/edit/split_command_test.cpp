// Split and Extract.
