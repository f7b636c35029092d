// nothing included
