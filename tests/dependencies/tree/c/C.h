// no README beside this file
